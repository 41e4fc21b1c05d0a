// MFC's extension classes: the module needs only what afxwin.h declares.
#pragma once

#include "afxwin.h"
