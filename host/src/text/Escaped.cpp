#include "text/Escaped.h"

namespace arxhost {

std::wstring backslashEscaped(std::wstring_view text, std::wstring_view special)
{
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'\\':
            out += L"\\\\";
            break;
        case L'\n':
            out += L"\\n";
            break;
        case L'\r':
            out += L"\\r";
            break;
        case L'\t':
            out += L"\\t";
            break;
        default:
            if (special.find(c) != std::wstring_view::npos)
                out += L'\\';
            out += c;
        }
    }
    return out;
}

} // namespace arxhost
