// CString::LoadString, kept apart because it reaches the resource loader through LoadStringW.
#include "afxstr.h"

#include <vector>

// Weak, so that programs built without the resource loader (the text area's own tests) still link;
// there the address is null and no string loads.
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) __attribute__((weak));

BOOL CString::LoadString(UINT nID)
{
    if (&::LoadStringW == nullptr)
        return FALSE;
    // Grow the buffer until the string leaves room for more, as MFC does.
    for (int size = 256; size <= (1 << 24); size *= 2) {
        std::vector<wchar_t> buffer(static_cast<std::size_t>(size), L'\0');
        const int length = ::LoadStringW(nullptr, nID, buffer.data(), size);
        if (length <= 0)
            return FALSE;
        if (length < size - 1) {
            mText.assign(buffer.data(), static_cast<std::size_t>(length));
            return TRUE;
        }
    }
    return FALSE;
}
