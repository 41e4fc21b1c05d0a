// Included first by every source of the module: Windows, MFC and the host's SDK.
#pragma once

#include "windows.h"

#include "afxtempl.h"
#include "afxwin.h"

#include "arxHeaders.h"

#include "resource.h"
