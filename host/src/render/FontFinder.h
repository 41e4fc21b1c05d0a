// The installed font a text style's font file stands for.
#pragma once

#include <map>
#include <string>

namespace arxhost::render {

struct FontChoice {
    std::string family; // for pango; fontconfig substitutes what is not installed
    bool italic = false;
    bool bold = false;
};

class FontFinder {
public:
    // A TrueType or OpenType file is looked up among the installed fonts by its file name, then among
    // the usual Windows fonts by name; shape fonts (.shx) and unknown files draw in the sans-serif face,
    // slanted when their name says italic.
    FontChoice choose(const std::wstring& fontFile);

private:
    std::map<std::wstring, FontChoice> mChosen;
};

} // namespace arxhost::render
