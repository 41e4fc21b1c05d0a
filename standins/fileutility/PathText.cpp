// Paths of the product family's files: conversions shared by the stand-ins that read them.
#include "fileutility/PathText.h"

#include <string>

#include "arxhost/Configuration.h"
#include "text/Utf8.h"

namespace planroad::standins {

std::filesystem::path toPath(const CString& text)
{
    std::wstring wide(text.GetString());
    for (wchar_t& c : wide)
        if (c == L'\\')
            c = L'/';
    // Built from UTF-8 code units so that the file name does not depend on the process locale.
    const std::string utf8 = arxhost::toUtf8(wide);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

CString fromPath(const std::filesystem::path& path)
{
    const std::u8string utf8 = path.generic_u8string();
    return CString(arxhost::fromUtf8(std::string(utf8.begin(), utf8.end())).c_str());
}

std::filesystem::path configurationRoot()
{
    return arxhost::configurationRoot();
}

CString folderText(const std::filesystem::path& folder)
{
    if (folder.empty())
        return CString();
    CString text = fromPath(folder);
    if (text.GetLength() > 0 && text[text.GetLength() - 1] != L'/')
        text += L'/';
    return text;
}

} // namespace planroad::standins
