// A module's string table, read from the resource script embedded in it.
#include "resources/ResourceScript.h"
#include "rx/ModuleLoader.h"

namespace arxhost {

void readStringTable(ModuleResources& resources)
{
    resources.strings.clear();
    if (resources.files.empty())
        return;
    const auto& [scriptName, scriptText] = resources.files.front();
    IncludeResolver resolver = [&resources](std::string_view name) -> std::optional<std::string> {
        for (const auto& [fileName, text] : resources.files)
            if (fileName == name)
                return text;
        return std::nullopt;
    };
    ResourceScript script = parseResourceScript(scriptText, resolver, scriptName);
    resources.strings = script.strings;
}

} // namespace arxhost
