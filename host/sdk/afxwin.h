// MFC's window classes and the framework entry points the module uses.
#pragma once

#include "afx.h"
