// Copies of text handed to callers who free them with acutDelString (allocated with new[]).
#pragma once

#include <cstring>
#include <string_view>

#include "AdAChar.h"

namespace arxhost {

inline ACHAR* copyForCaller(std::wstring_view text)
{
    auto* copy = new ACHAR[text.size() + 1];
    text.copy(copy, text.size());
    copy[text.size()] = 0;
    return copy;
}

} // namespace arxhost
