// File utility library: the common folder, file tests and folder paths.
#include "FileUtility.h"

#include "fileutility/PathText.h"

namespace daroviz {

CString FGetCADCommonFilePath()
{
    const std::filesystem::path root = planroad::standins::configurationRoot();
    return root.empty() ? CString() : planroad::standins::folderText(root / "common");
}

int FileExist(CString path)
{
    if (path.IsEmpty())
        return 0;
    std::error_code ec;
    return std::filesystem::is_regular_file(planroad::standins::toPath(path), ec) ? 1 : 0;
}

} // namespace daroviz

namespace fgdutil {

void ConfirmBackslash(CString& path)
{
    const int length = path.GetLength();
    if (length == 0)
        return;
    const wchar_t last = path[length - 1];
    if (last == L'\\' || last == L'/')
        return;
    const bool backslashesOnly = path.Find(L'\\') >= 0 && path.Find(L'/') < 0;
    path += backslashesOnly ? L'\\' : L'/';
}

} // namespace fgdutil
