// MFC's standard dialogs: the module needs only what afxwin.h declares.
#pragma once

#include "afxwin.h"
