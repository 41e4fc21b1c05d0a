// CString: MFC's wide string (CStringW, which CString is in a Unicode build) for the stand-in SDK.
#pragma once

#include <concepts>
#include <cstdarg>
#include <string>

#include "tchar.h"
#include "windows.h"

// Value semantics like MFC's (its copy-on-write sharing is not observable). Positions and counts are
// in wchar_t units, which on this platform are whole code points. Out-of-range positions and counts
// are clamped as MFC clamps them; where MFC throws an invalid-argument exception (GetAt, SetAt,
// Tokenize with a negative start), this class throws std::out_of_range / std::invalid_argument.
// Case mapping and case-insensitive comparison fold A-Z only, as the runtime's default "C" locale
// does. Whitespace for Trim* is the ISO 30112 "space" class, which Windows reports for iswspace even
// in the "C" locale: the ASCII blanks plus U+1680, U+2000-2006, U+2008-200A, U+2028, U+2029, U+205F
// and the ideographic (full-width) space U+3000, but not the no-break spaces U+00A0, U+2007, U+202F.
class CString {
public:
    typedef wchar_t XCHAR;
    typedef wchar_t* PXSTR;
    typedef const wchar_t* PCXSTR;
    typedef char YCHAR;
    typedef const char* PCYSTR;

    CString() noexcept = default;
    CString(const CString& src) = default;
    CString(CString&& src) noexcept = default;
    // Null gives an empty string; a resource ID cast to a pointer (MAKEINTRESOURCE) loads that string.
    CString(PCXSTR psz);
    // Narrow text is UTF-8; null and resource IDs as for wide text.
    CString(PCYSTR psz);
    explicit CString(XCHAR ch, int nRepeat = 1);
    CString(PCXSTR pch, int nLength);
    CString(PCYSTR pch, int nLength);
    ~CString() = default;

    CString& operator=(const CString& src) = default;
    CString& operator=(CString&& src) noexcept = default;
    CString& operator=(PCXSTR psz);
    CString& operator=(PCYSTR psz);
    CString& operator=(XCHAR ch);

    CString& operator+=(const CString& str);
    CString& operator+=(PCXSTR psz);
    CString& operator+=(PCYSTR psz);
    CString& operator+=(XCHAR ch);

    operator PCXSTR() const noexcept { return mText.c_str(); }
    PCXSTR GetString() const noexcept { return mText.c_str(); }
    int GetLength() const noexcept { return static_cast<int>(mText.size()); }
    bool IsEmpty() const noexcept { return mText.empty(); }
    void Empty() noexcept { mText.clear(); }
    void SetString(PCXSTR psz);
    void SetString(PCXSTR psz, int nLength);
    void Truncate(int nNewLength);

    // Index GetLength() reads the terminating NUL; beyond that, or negative, throws.
    XCHAR GetAt(int iChar) const;
    // Throws unless 0 <= iChar < GetLength().
    void SetAt(int iChar, XCHAR ch);
    XCHAR operator[](int iChar) const { return GetAt(iChar); }
    template <std::integral I>
    requires(!std::same_as<I, int>) XCHAR operator[](I iChar) const { return GetAt(static_cast<int>(iChar)); }

    // A writable buffer of at least nMinBufferLength characters plus the terminator; the length is
    // settled by ReleaseBuffer (-1: up to the first NUL).
    PXSTR GetBuffer(int nMinBufferLength);
    PXSTR GetBuffer();
    PXSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);

    // Formatting by the Microsoft runtime's rules: %s takes const wchar_t*, %S and %hs narrow UTF-8
    // (pass a CString as (LPCTSTR)s). Throws arxhost::FormatError (std::invalid_argument) for an
    // invalid format.
    void Format(PCXSTR pszFormat, ...);
    void FormatV(PCXSTR pszFormat, va_list args);
    void AppendFormat(PCXSTR pszFormat, ...);
    void AppendFormatV(PCXSTR pszFormat, va_list args);

    void Append(const CString& strSrc);
    void Append(PCXSTR pszSrc);
    void Append(PCXSTR pszSrc, int nLength);
    void AppendChar(XCHAR ch);

    // -1, 0 or 1 in code point order. Collate orders as the "C" locale does, the same way.
    int Compare(PCXSTR psz) const;
    int CompareNoCase(PCXSTR psz) const;
    int Collate(PCXSTR psz) const;
    int CollateNoCase(PCXSTR psz) const;

    // -1 when absent or when iStart is negative or past the end (for a substring, iStart may equal
    // the length: an empty substring is then found there).
    int Find(PCXSTR pszSub, int iStart = 0) const noexcept;
    int Find(XCHAR ch, int iStart = 0) const noexcept;
    int ReverseFind(XCHAR ch) const noexcept;
    int FindOneOf(PCXSTR pszCharSet) const noexcept;

    CString Left(int nCount) const;
    CString Mid(int iFirst) const;
    CString Mid(int iFirst, int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(PCXSTR pszCharSet) const;
    CString SpanExcluding(PCXSTR pszCharSet) const;

    // Case-sensitive, left to right, without overlaps; return the number of replacements (an empty
    // or null pszOld replaces nothing; equal characters count as no replacement).
    int Replace(PCXSTR pszOld, PCXSTR pszNew);
    int Replace(XCHAR chOld, XCHAR chNew);
    // Returns the number of characters removed.
    int Remove(XCHAR chRemove);
    // Insert and Delete clamp the position into the string and return the new length.
    int Insert(int iIndex, XCHAR ch);
    int Insert(int iIndex, PCXSTR psz);
    int Delete(int iIndex, int nCount = 1);

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    CString& Trim();
    CString& Trim(XCHAR chTarget);
    CString& Trim(PCXSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(XCHAR chTarget);
    CString& TrimLeft(PCXSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(XCHAR chTarget);
    CString& TrimRight(PCXSTR pszTargets);

    // The next token after iStart, skipping leading delimiters; iStart moves past the token's
    // delimiter, or becomes -1 (with an empty result) when no token is left. Throws for iStart < 0.
    CString Tokenize(PCXSTR pszTokens, int& iStart) const;

    // Loads a string resource of the host's resource module; FALSE (string unchanged) when absent.
    BOOL LoadString(UINT nID);

private:
    std::wstring mText;
};

typedef CString CStringW;

CString operator+(const CString& str1, const CString& str2);
CString operator+(const CString& str1, const wchar_t* psz2);
CString operator+(const wchar_t* psz1, const CString& str2);
CString operator+(const CString& str1, wchar_t ch2);
CString operator+(wchar_t ch1, const CString& str2);

bool operator==(const CString& str1, const CString& str2) noexcept;
bool operator==(const CString& str1, const wchar_t* psz2) noexcept;
bool operator==(const wchar_t* psz1, const CString& str2) noexcept;
bool operator!=(const CString& str1, const CString& str2) noexcept;
bool operator!=(const CString& str1, const wchar_t* psz2) noexcept;
bool operator!=(const wchar_t* psz1, const CString& str2) noexcept;
bool operator<(const CString& str1, const CString& str2) noexcept;
bool operator<(const CString& str1, const wchar_t* psz2) noexcept;
bool operator<(const wchar_t* psz1, const CString& str2) noexcept;
bool operator>(const CString& str1, const CString& str2) noexcept;
bool operator>(const CString& str1, const wchar_t* psz2) noexcept;
bool operator>(const wchar_t* psz1, const CString& str2) noexcept;
bool operator<=(const CString& str1, const CString& str2) noexcept;
bool operator<=(const CString& str1, const wchar_t* psz2) noexcept;
bool operator<=(const wchar_t* psz1, const CString& str2) noexcept;
bool operator>=(const CString& str1, const CString& str2) noexcept;
bool operator>=(const CString& str1, const wchar_t* psz2) noexcept;
bool operator>=(const wchar_t* psz1, const CString& str2) noexcept;
