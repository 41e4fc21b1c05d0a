// Converting a coded cross-section into the plain form: the runs, the merges by panel count, the widths.
#include "StdAfx.h"

#include "CrossSectionText.h"

#include <algorithm>

namespace {

bool IsNumericChar(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || c == L'.';
}

bool Is(const std::vector<CString>& tokens, std::size_t i, const ACHAR* code)
{
    return i < tokens.size() && tokens[i].CompareNoCase(code) == 0;
}

CString Sum(const CString& a, const CString& b)
{
    CString sum;
    sum.Format(_T("%g"), _wtof(a) + _wtof(b));
    return sum;
}

// Two carriageways side by side become one: the first "cx" with another "cx" two runs on.
void MergeAdjacentCarriageways(std::vector<CString>& tokens)
{
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        if (Is(tokens, i, _T("cx")) && i + 3 < tokens.size() && Is(tokens, i + 2, _T("cx"))) {
            tokens[i + 1] = Sum(tokens[i + 1], tokens[i + 3]);
            tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i + 2),
                tokens.begin() + static_cast<std::ptrdiff_t>(i + 4));
            return;
        }
    }
}

// A strip `code` goes into its neighbour: the part before it when that is one of `into`, else the part
// after it.
void MergeInto(std::vector<CString>& tokens, const ACHAR* code, std::initializer_list<const ACHAR*> into)
{
    auto isInto = [&](std::size_t i) {
        return std::any_of(into.begin(), into.end(), [&](const ACHAR* part) { return Is(tokens, i, part); });
    };
    for (std::size_t i = 1; i < tokens.size();) {
        if (!Is(tokens, i, code)) {
            ++i;
            continue;
        }
        if (i >= 2 && isInto(i - 2) && i + 1 < tokens.size()) {
            tokens[i - 1] = Sum(tokens[i - 1], tokens[i + 1]);
        } else if (isInto(i + 2) && i + 3 < tokens.size()) {
            tokens[i + 3] = Sum(tokens[i + 3], tokens[i + 1]);
        } else {
            ++i;
            continue;
        }
        tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i),
            tokens.begin() + static_cast<std::ptrdiff_t>(std::min(i + 2, tokens.size())));
    }
}

} // namespace

bool IsNumericText(const CString& text)
{
    if (text.IsEmpty())
        return false;
    for (int i = 0; i < text.GetLength(); ++i)
        if (!IsNumericChar(text[i]))
            return false;
    return true;
}

std::vector<CString> TokenizeCrossSection(const CString& coded)
{
    std::vector<CString> tokens;
    CString numeric;
    CString text;
    for (int i = 0; i < coded.GetLength(); ++i) {
        const wchar_t c = coded[i];
        if (IsNumericChar(c)) {
            if (!text.IsEmpty()) {
                tokens.push_back(text);
                text.Empty();
            }
            numeric += c;
        } else {
            if (!numeric.IsEmpty()) {
                tokens.push_back(numeric);
                numeric.Empty();
            }
            text += c;
        }
    }
    if (!numeric.IsEmpty())
        tokens.push_back(numeric);
    return tokens;
}

bool ConvertCrossSection(const CString& coded, SPlainCrossSection& result)
{
    std::vector<CString> tokens = TokenizeCrossSection(coded);
    if (tokens.size() < 7)
        return false;
    bool hasPartCode = false;
    int separators = 0;
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        hasPartCode
            = hasPartCode || Is(tokens, i, _T("rx")) || Is(tokens, i, _T("cx")) || Is(tokens, i, _T("fg"));
        separators += Is(tokens, i, _T("fg")) ? 1 : 0;
    }
    if (!hasPartCode)
        return false;
    result.panels = 1 + separators;

    if (result.panels == 1 || result.panels == 3)
        MergeAdjacentCarriageways(tokens);
    if (result.panels == 3 || result.panels == 4) {
        MergeInto(tokens, _T("fd"), {_T("cx"), _T("fjd")});
        MergeInto(tokens, _T("cx"), {_T("fjd")});
    }

    double width = 0.0;
    result.plain.Empty();
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        if (!IsNumericText(tokens[i]))
            continue;
        if (!result.plain.IsEmpty())
            result.plain += _T("+");
        result.plain += tokens[i];
        width += _wtof(tokens[i]);
    }
    result.width.Format(_T("%g"), width);
    return true;
}

CString PanelText(int panels)
{
    switch (panels) {
    case 2:
        return _T("二板块");
    case 3:
        return _T("三板块");
    case 4:
        return _T("四板块");
    default:
        return _T("一板块");
    }
}
