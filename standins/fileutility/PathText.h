// Paths of the product family's files: between CString (backslashes allowed) and the file system.
#pragma once

#include <filesystem>

#include "afx.h"

namespace planroad::standins {

// The path named by the text; backslashes count as folder separators, the text is taken as Unicode.
std::filesystem::path toPath(const CString& text);
// The path as text with forward slashes.
CString fromPath(const std::filesystem::path& path);
// The product family's configuration root of the running session; empty when none is set.
std::filesystem::path configurationRoot();
// The folder as text ending with a separator; empty for an empty path.
CString folderText(const std::filesystem::path& folder);

} // namespace planroad::standins
