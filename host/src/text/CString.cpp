// CString: MFC's wide string class on a std::wstring.
#include "afxstr.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <stdexcept>

#include "text/Utf8.h"
#include "text/WideChars.h"
#include "text/WideFormat.h"

namespace {

const wchar_t* orEmpty(const wchar_t* psz)
{
    return psz == nullptr ? L"" : psz;
}

// MFC's IS_INTRESOURCE: a "string" whose address fits in 16 bits is a resource ID.
bool isResourceId(const void* p)
{
    return p != nullptr && (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0;
}

UINT resourceId(const void* p)
{
    return static_cast<UINT>(reinterpret_cast<std::uintptr_t>(p) & 0xFFFF);
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

int compareNoCase(const wchar_t* a, const wchar_t* b)
{
    for (;; ++a, ++b) {
        const wchar_t x = arxhost::toLowerAscii(*a);
        const wchar_t y = arxhost::toLowerAscii(*b);
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

bool contains(const wchar_t* set, wchar_t c)
{
    return c != 0 && std::wcschr(set, c) != nullptr;
}

} // namespace

CString::CString(PCXSTR psz)
{
    if (isResourceId(psz))
        LoadString(resourceId(psz));
    else
        mText = orEmpty(psz);
}

CString::CString(PCYSTR psz)
{
    if (isResourceId(psz))
        LoadString(resourceId(psz));
    else
        mText = arxhost::fromUtf8(psz);
}

CString::CString(XCHAR ch, int nRepeat)
    : mText(static_cast<std::size_t>(std::max(nRepeat, 0)), ch)
{
}

CString::CString(PCXSTR pch, int nLength)
{
    if (pch != nullptr && nLength > 0)
        mText.assign(pch, static_cast<std::size_t>(nLength));
}

CString::CString(PCYSTR pch, int nLength)
{
    if (pch != nullptr && nLength > 0)
        mText = arxhost::fromUtf8(std::string_view(pch, static_cast<std::size_t>(nLength)));
}

CString& CString::operator=(PCXSTR psz)
{
    mText = orEmpty(psz);
    return *this;
}

CString& CString::operator=(PCYSTR psz)
{
    mText = arxhost::fromUtf8(psz);
    return *this;
}

CString& CString::operator=(XCHAR ch)
{
    mText.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& str)
{
    mText += str.mText;
    return *this;
}

CString& CString::operator+=(PCXSTR psz)
{
    mText += orEmpty(psz);
    return *this;
}

CString& CString::operator+=(PCYSTR psz)
{
    mText += arxhost::fromUtf8(psz);
    return *this;
}

CString& CString::operator+=(XCHAR ch)
{
    mText += ch;
    return *this;
}

void CString::SetString(PCXSTR psz)
{
    mText = orEmpty(psz);
}

void CString::SetString(PCXSTR psz, int nLength)
{
    if (psz == nullptr || nLength <= 0)
        mText.clear();
    else
        mText.assign(psz, static_cast<std::size_t>(nLength));
}

void CString::Truncate(int nNewLength)
{
    if (nNewLength < 0 || nNewLength > GetLength())
        throw std::invalid_argument("CString::Truncate: length out of range");
    mText.resize(static_cast<std::size_t>(nNewLength));
}

CString::XCHAR CString::GetAt(int iChar) const
{
    if (iChar < 0 || iChar > GetLength())
        throw std::out_of_range("CString::GetAt: index out of range");
    return mText.c_str()[iChar];
}

void CString::SetAt(int iChar, XCHAR ch)
{
    if (iChar < 0 || iChar >= GetLength())
        throw std::out_of_range("CString::SetAt: index out of range");
    mText[static_cast<std::size_t>(iChar)] = ch;
}

CString::PXSTR CString::GetBuffer(int nMinBufferLength)
{
    if (nMinBufferLength < 0)
        throw std::invalid_argument("CString::GetBuffer: negative length");
    // The characters past the old length read as NUL, so that ReleaseBuffer() finds the end even
    // when the caller wrote nothing.
    if (static_cast<std::size_t>(nMinBufferLength) > mText.size())
        mText.resize(static_cast<std::size_t>(nMinBufferLength));
    return mText.data();
}

CString::PXSTR CString::GetBuffer()
{
    return mText.data();
}

CString::PXSTR CString::GetBufferSetLength(int nLength)
{
    if (nLength < 0)
        throw std::invalid_argument("CString::GetBufferSetLength: negative length");
    mText.resize(static_cast<std::size_t>(nLength));
    return mText.data();
}

void CString::ReleaseBuffer(int nNewLength)
{
    std::size_t length = 0;
    if (nNewLength < 0)
        length = std::wcslen(mText.c_str());
    else
        length = std::min(static_cast<std::size_t>(nNewLength), mText.size());
    mText.resize(length);
}

void CString::Format(PCXSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    try {
        FormatV(pszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void CString::FormatV(PCXSTR pszFormat, va_list args)
{
    mText = arxhost::formatWide(pszFormat, args);
}

void CString::AppendFormat(PCXSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    try {
        AppendFormatV(pszFormat, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void CString::AppendFormatV(PCXSTR pszFormat, va_list args)
{
    mText += arxhost::formatWide(pszFormat, args);
}

void CString::Append(const CString& strSrc)
{
    mText += strSrc.mText;
}

void CString::Append(PCXSTR pszSrc)
{
    mText += orEmpty(pszSrc);
}

void CString::Append(PCXSTR pszSrc, int nLength)
{
    if (pszSrc == nullptr || nLength <= 0)
        return;
    // Like MFC, stop early at a terminator inside the first nLength characters.
    std::size_t n = 0;
    while (n < static_cast<std::size_t>(nLength) && pszSrc[n] != 0)
        ++n;
    mText.append(pszSrc, n);
}

void CString::AppendChar(XCHAR ch)
{
    mText += ch;
}

int CString::Compare(PCXSTR psz) const
{
    return sign(std::wcscmp(mText.c_str(), orEmpty(psz)));
}

int CString::CompareNoCase(PCXSTR psz) const
{
    return compareNoCase(mText.c_str(), orEmpty(psz));
}

int CString::Collate(PCXSTR psz) const
{
    return Compare(psz);
}

int CString::CollateNoCase(PCXSTR psz) const
{
    return CompareNoCase(psz);
}

int CString::Find(PCXSTR pszSub, int iStart) const noexcept
{
    if (pszSub == nullptr || iStart < 0 || iStart > GetLength())
        return -1;
    const wchar_t* found = std::wcsstr(mText.c_str() + iStart, pszSub);
    return found == nullptr ? -1 : static_cast<int>(found - mText.c_str());
}

int CString::Find(XCHAR ch, int iStart) const noexcept
{
    if (iStart < 0 || iStart >= GetLength())
        return -1;
    const wchar_t* found = std::wcschr(mText.c_str() + iStart, ch);
    return found == nullptr ? -1 : static_cast<int>(found - mText.c_str());
}

int CString::ReverseFind(XCHAR ch) const noexcept
{
    const wchar_t* found = std::wcsrchr(mText.c_str(), ch);
    return found == nullptr ? -1 : static_cast<int>(found - mText.c_str());
}

int CString::FindOneOf(PCXSTR pszCharSet) const noexcept
{
    if (pszCharSet == nullptr)
        return -1;
    const wchar_t* found = std::wcspbrk(mText.c_str(), pszCharSet);
    return found == nullptr ? -1 : static_cast<int>(found - mText.c_str());
}

CString CString::Left(int nCount) const
{
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(mText.c_str(), nCount);
}

CString CString::Mid(int iFirst) const
{
    return Mid(iFirst, static_cast<int>(std::min<long long>(INT32_MAX, 0LL + GetLength() - iFirst)));
}

CString CString::Mid(int iFirst, int nCount) const
{
    const long long length = GetLength();
    long long first = std::max(iFirst, 0);
    long long count = std::max(nCount, 0);
    if (first + count > length)
        count = length - first;
    if (first > length)
        count = 0;
    if (count <= 0)
        return CString();
    return CString(mText.c_str() + first, static_cast<int>(count));
}

CString CString::Right(int nCount) const
{
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(mText.c_str() + (GetLength() - nCount), nCount);
}

CString CString::SpanIncluding(PCXSTR pszCharSet) const
{
    return Left(static_cast<int>(std::wcsspn(mText.c_str(), orEmpty(pszCharSet))));
}

CString CString::SpanExcluding(PCXSTR pszCharSet) const
{
    return Left(static_cast<int>(std::wcscspn(mText.c_str(), orEmpty(pszCharSet))));
}

int CString::Replace(PCXSTR pszOld, PCXSTR pszNew)
{
    const std::wstring_view from(orEmpty(pszOld));
    if (from.empty())
        return 0;
    const std::wstring_view to(orEmpty(pszNew));
    std::wstring result;
    int count = 0;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = mText.find(from, pos)) != std::wstring::npos; pos = hit + from.size()) {
        result.append(mText, pos, hit - pos);
        result += to;
        ++count;
    }
    if (count > 0) {
        result.append(mText, pos);
        mText = std::move(result);
    }
    return count;
}

int CString::Replace(XCHAR chOld, XCHAR chNew)
{
    if (chOld == chNew)
        return 0;
    int count = 0;
    for (wchar_t& c : mText)
        if (c == chOld) {
            c = chNew;
            ++count;
        }
    return count;
}

int CString::Remove(XCHAR chRemove)
{
    const auto removed = std::erase(mText, chRemove);
    return static_cast<int>(removed);
}

int CString::Insert(int iIndex, XCHAR ch)
{
    iIndex = std::clamp(iIndex, 0, GetLength());
    mText.insert(static_cast<std::size_t>(iIndex), 1, ch);
    return GetLength();
}

int CString::Insert(int iIndex, PCXSTR psz)
{
    iIndex = std::clamp(iIndex, 0, GetLength());
    mText.insert(static_cast<std::size_t>(iIndex), orEmpty(psz));
    return GetLength();
}

int CString::Delete(int iIndex, int nCount)
{
    const long long length = GetLength();
    const long long first = std::max(iIndex, 0);
    long long count = std::max(nCount, 0);
    if (first + count > length)
        count = length - first;
    if (count > 0)
        mText.erase(static_cast<std::size_t>(first), static_cast<std::size_t>(count));
    return GetLength();
}

CString& CString::MakeUpper()
{
    std::transform(mText.begin(), mText.end(), mText.begin(), arxhost::toUpperAscii);
    return *this;
}

CString& CString::MakeLower()
{
    std::transform(mText.begin(), mText.end(), mText.begin(), arxhost::toLowerAscii);
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(mText.begin(), mText.end());
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(XCHAR chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::Trim(PCXSTR pszTargets)
{
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

CString& CString::TrimLeft()
{
    const auto first = std::find_if_not(mText.begin(), mText.end(), arxhost::isWideSpace);
    mText.erase(mText.begin(), first);
    return *this;
}

CString& CString::TrimLeft(XCHAR chTarget)
{
    const auto first
        = std::find_if(mText.begin(), mText.end(), [chTarget](wchar_t c) { return c != chTarget; });
    mText.erase(mText.begin(), first);
    return *this;
}

CString& CString::TrimLeft(PCXSTR pszTargets)
{
    const wchar_t* set = orEmpty(pszTargets);
    const auto first
        = std::find_if(mText.begin(), mText.end(), [set](wchar_t c) { return !contains(set, c); });
    mText.erase(mText.begin(), first);
    return *this;
}

CString& CString::TrimRight()
{
    const auto last = std::find_if_not(mText.rbegin(), mText.rend(), arxhost::isWideSpace);
    mText.erase(last.base(), mText.end());
    return *this;
}

CString& CString::TrimRight(XCHAR chTarget)
{
    const auto last
        = std::find_if(mText.rbegin(), mText.rend(), [chTarget](wchar_t c) { return c != chTarget; });
    mText.erase(last.base(), mText.end());
    return *this;
}

CString& CString::TrimRight(PCXSTR pszTargets)
{
    const wchar_t* set = orEmpty(pszTargets);
    const auto last
        = std::find_if(mText.rbegin(), mText.rend(), [set](wchar_t c) { return !contains(set, c); });
    mText.erase(last.base(), mText.end());
    return *this;
}

CString CString::Tokenize(PCXSTR pszTokens, int& iStart) const
{
    if (iStart < 0)
        throw std::invalid_argument("CString::Tokenize: negative start");
    const int length = GetLength();
    if (pszTokens == nullptr || *pszTokens == 0) {
        // MFC returns the rest without moving iStart: callers loop until the string is used up.
        if (iStart < length)
            return CString(mText.c_str() + iStart, length - iStart);
    } else if (iStart < length) {
        const wchar_t* place = mText.c_str() + iStart;
        const int including = static_cast<int>(std::wcsspn(place, pszTokens));
        if (iStart + including < length) {
            const int from = iStart + including;
            const int until = static_cast<int>(std::wcscspn(place + including, pszTokens));
            iStart = from + until + 1;
            return Mid(from, until);
        }
    }
    iStart = -1;
    return CString();
}

CString operator+(const CString& str1, const CString& str2)
{
    CString result(str1);
    result += str2;
    return result;
}

CString operator+(const CString& str1, const wchar_t* psz2)
{
    CString result(str1);
    result += psz2;
    return result;
}

CString operator+(const wchar_t* psz1, const CString& str2)
{
    CString result;
    result = psz1;
    result += str2;
    return result;
}

CString operator+(const CString& str1, wchar_t ch2)
{
    CString result(str1);
    result += ch2;
    return result;
}

CString operator+(wchar_t ch1, const CString& str2)
{
    CString result(ch1);
    result += str2;
    return result;
}

bool operator==(const CString& str1, const CString& str2) noexcept
{
    return str1.Compare(str2) == 0;
}
bool operator==(const CString& str1, const wchar_t* psz2) noexcept
{
    return str1.Compare(psz2) == 0;
}
bool operator==(const wchar_t* psz1, const CString& str2) noexcept
{
    return str2.Compare(psz1) == 0;
}
bool operator!=(const CString& str1, const CString& str2) noexcept
{
    return str1.Compare(str2) != 0;
}
bool operator!=(const CString& str1, const wchar_t* psz2) noexcept
{
    return str1.Compare(psz2) != 0;
}
bool operator!=(const wchar_t* psz1, const CString& str2) noexcept
{
    return str2.Compare(psz1) != 0;
}
bool operator<(const CString& str1, const CString& str2) noexcept
{
    return str1.Compare(str2) < 0;
}
bool operator<(const CString& str1, const wchar_t* psz2) noexcept
{
    return str1.Compare(psz2) < 0;
}
bool operator<(const wchar_t* psz1, const CString& str2) noexcept
{
    return str2.Compare(psz1) > 0;
}
bool operator>(const CString& str1, const CString& str2) noexcept
{
    return str1.Compare(str2) > 0;
}
bool operator>(const CString& str1, const wchar_t* psz2) noexcept
{
    return str1.Compare(psz2) > 0;
}
bool operator>(const wchar_t* psz1, const CString& str2) noexcept
{
    return str2.Compare(psz1) < 0;
}
bool operator<=(const CString& str1, const CString& str2) noexcept
{
    return str1.Compare(str2) <= 0;
}
bool operator<=(const CString& str1, const wchar_t* psz2) noexcept
{
    return str1.Compare(psz2) <= 0;
}
bool operator<=(const wchar_t* psz1, const CString& str2) noexcept
{
    return str2.Compare(psz1) >= 0;
}
bool operator>=(const CString& str1, const CString& str2) noexcept
{
    return str1.Compare(str2) >= 0;
}
bool operator>=(const CString& str1, const wchar_t* psz2) noexcept
{
    return str1.Compare(psz2) >= 0;
}
bool operator>=(const wchar_t* psz1, const CString& str2) noexcept
{
    return str2.Compare(psz1) <= 0;
}
