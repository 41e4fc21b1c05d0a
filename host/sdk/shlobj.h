// The shell's folder browser and item id lists, with the task allocator that frees them.
#pragma once

#include "windows.h"

#pragma pack(push, 1)
typedef struct _SHITEMID {
    USHORT cb;
    BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
    SHITEMID mkid;
} ITEMIDLIST;
#pragma pack(pop)
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef ITEMIDLIST* PIDLIST_ABSOLUTE;
typedef const ITEMIDLIST* PCIDLIST_ABSOLUTE;

typedef int(CALLBACK* BFFCALLBACK)(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

typedef struct _browseinfoW {
    HWND hwndOwner;
    PCIDLIST_ABSOLUTE pidlRoot;
    LPWSTR pszDisplayName;
    LPCWSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
} BROWSEINFOW, *PBROWSEINFOW, *LPBROWSEINFOW;
typedef BROWSEINFOW BROWSEINFO;
typedef LPBROWSEINFOW LPBROWSEINFO;

#define BIF_RETURNONLYFSDIRS 0x00000001
#define BIF_DONTGOBELOWDOMAIN 0x00000002
#define BIF_STATUSTEXT 0x00000004
#define BIF_RETURNFSANCESTORS 0x00000008
#define BIF_EDITBOX 0x00000010
#define BIF_VALIDATE 0x00000020
#define BIF_NEWDIALOGSTYLE 0x00000040
#define BIF_USENEWUI (BIF_NEWDIALOGSTYLE | BIF_EDITBOX)
#define BIF_NONEWFOLDERBUTTON 0x00000200

// Messages to the callback, and from it to the browser window.
#define BFFM_INITIALIZED 1
#define BFFM_SELCHANGED 2
#define BFFM_VALIDATEFAILEDW 4
#define BFFM_SETSELECTIONW (WM_USER + 103)
#define BFFM_SETSELECTION BFFM_SETSELECTIONW

// Shows the folder browser: the host prints it on the command line and takes the folder from the
// input queue ("!folder PATH" or "!folder cancel"). Returns null when cancelled; free the result with
// CoTaskMemFree.
PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW lpbi);
// Copies the folder's path (at most MAX_PATH characters with the terminator); FALSE for a null list.
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE pidl, LPWSTR pszPath);
#define SHBrowseForFolder SHBrowseForFolderW
#define SHGetPathFromIDList SHGetPathFromIDListW

LPVOID CoTaskMemAlloc(std::size_t cb);
void CoTaskMemFree(LPVOID pv);
