// Header variables of a drawing.
#include "db/HeaderVars.h"

namespace arxhost {

const HeaderValue* HeaderVars::find(const std::wstring& upperName) const
{
    auto it = mValues.find(upperName);
    return it == mValues.end() ? nullptr : &it->second;
}

void HeaderVars::set(const std::wstring& upperName, HeaderValue value)
{
    mValues[upperName] = std::move(value);
}

void HeaderVars::erase(const std::wstring& upperName)
{
    mValues.erase(upperName);
}

} // namespace arxhost
