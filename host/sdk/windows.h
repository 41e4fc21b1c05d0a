// The Windows base types and constants that the module's code names.
#pragma once

#include <cstdint>

#include "AdAChar.h"
#include "adesk.h"

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::uint32_t UINT;
typedef std::int32_t LONG; // 32 bit, as on Windows
typedef std::uint32_t ULONG;
typedef short SHORT;
typedef unsigned short USHORT;
typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef std::int32_t HRESULT;
typedef std::int32_t SCODE;
typedef wchar_t WCHAR;
typedef wchar_t TCHAR;
typedef wchar_t* LPWSTR;
typedef const wchar_t* LPCWSTR;
typedef wchar_t* LPTSTR;
typedef const wchar_t* LPCTSTR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef DWORD* LPDWORD;
typedef UINT* PUINT;

// Handles are opaque pointers to distinct incomplete types, as with STRICT.
#define PLANROAD_DECLARE_HANDLE(name)                                                                        \
    struct name##__;                                                                                         \
    typedef struct name##__* name
PLANROAD_DECLARE_HANDLE(HINSTANCE);
PLANROAD_DECLARE_HANDLE(HWND);
PLANROAD_DECLARE_HANDLE(HICON);
PLANROAD_DECLARE_HANDLE(HBITMAP);
PLANROAD_DECLARE_HANDLE(HMENU);
PLANROAD_DECLARE_HANDLE(HDC);
typedef HINSTANCE HMODULE;
typedef void* HANDLE;

#define WINAPI
#define CALLBACK
#define APIENTRY
#define AFXAPI
#define AFX_CDECL
#define __cdecl
#define __stdcall

#define MAX_PATH 260

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define MAKEINTRESOURCE(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *LPPOINT;

typedef struct tagSIZE {
    LONG cx;
    LONG cy;
} SIZE, *LPSIZE;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

// The library entry a module may define; the host's loader calls it after loading and before unloading.
extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);

// Loads a string resource of a module into the buffer; returns its length, 0 when absent.
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);
#define LoadString LoadStringW

// The user interface part of the API: windows, messages, message boxes.
#include "winuser.h"
