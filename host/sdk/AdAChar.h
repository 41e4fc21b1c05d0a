// Character type of the host interfaces: text is always wide, whatever wchar_t's width.
#pragma once

typedef wchar_t ACHAR;

#ifndef ACRX_T
#define ACRX_T(x) L##x
#endif
#ifndef _T
#define _T(x) L##x
#endif
#ifndef _TEXT
#define _TEXT(x) L##x
#endif
