// Helpers of the resource-script tests: parsing a script with in-memory include files.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "resources/ResourceScript.h"

namespace scripttest {

using Files = std::map<std::string, std::string, std::less<>>;

// An include resolver over in-memory files; names not in the map are not found.
inline arxhost::IncludeResolver resolverFor(const Files& files)
{
    return [&files](std::string_view name) -> std::optional<std::string> {
        const auto found = files.find(name);
        if (found == files.end()) {
            return std::nullopt;
        }
        return found->second;
    };
}

inline arxhost::ResourceScript parse(std::string_view script, const Files& files = {})
{
    return arxhost::parseResourceScript(script, resolverFor(files), "PlanRoad.rc");
}

// The 1-based number of the first line of text containing marker.
inline int lineOf(std::string_view text, std::string_view marker)
{
    const auto at = text.find(marker);
    if (at == std::string_view::npos) {
        return -1;
    }
    int line = 1;
    for (std::size_t i = 0; i < at; ++i) {
        line += text[i] == '\n' ? 1 : 0;
    }
    return line;
}

} // namespace scripttest
