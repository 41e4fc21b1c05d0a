// The MFC base: strings, collections and the extension-module support.
#pragma once

#include "afxcoll.h"
#include "afxdll_.h"
#include "afxstr.h"
#include "tchar.h"
#include "windows.h"

#ifndef ASSERT
#define ASSERT(f) ((void)0)
#endif
#ifndef VERIFY
#define VERIFY(f) ((void)(f))
#endif
#ifndef TRACE
#define TRACE(...) ((void)0)
#endif
#define AFX_EXT_CLASS
#define AFX_MANAGE_STATE(p)
#define AFX_EXT_API
#define AFX_DATA
