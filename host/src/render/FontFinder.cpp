#include "render/FontFinder.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <mutex>

#include "text/Utf8.h"

namespace arxhost::render {

namespace {

std::wstring lowered(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); });
    return text;
}

// File name (lower case) -> family of every installed font, read from fontconfig once per process.
const std::map<std::wstring, std::string>& installedFonts()
{
    static std::map<std::wstring, std::string> fonts;
    static std::once_flag once;
    std::call_once(once, [] {
        FcPattern* pattern = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_FAMILY, nullptr);
        FcFontSet* set = FcFontList(nullptr, pattern, objects);
        for (int i = 0; set != nullptr && i < set->nfont; ++i) {
            FcChar8* file = nullptr;
            FcChar8* family = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch
                || FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch)
                continue;
            const std::wstring name = lowered(
                fromUtf8(std::filesystem::path(reinterpret_cast<const char*>(file)).filename().string()));
            fonts.emplace(name, reinterpret_cast<const char*>(family));
        }
        if (set != nullptr)
            FcFontSetDestroy(set);
        FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
    });
    return fonts;
}

struct KnownFont {
    const wchar_t* file;
    const char* family;
    bool bold;
    bool italic;
};

// Fonts a drawing made on Windows names by file; where they are not installed, fontconfig finds the
// closest face it has for the family.
constexpr KnownFont kWindowsFonts[] = {
    {L"simsun.ttc", "SimSun", false, false},
    {L"simsun.ttf", "SimSun", false, false},
    {L"simhei.ttf", "SimHei", false, false},
    {L"simkai.ttf", "KaiTi", false, false},
    {L"simfang.ttf", "FangSong", false, false},
    {L"msyh.ttc", "Microsoft YaHei", false, false},
    {L"msyh.ttf", "Microsoft YaHei", false, false},
    {L"arial.ttf", "Arial", false, false},
    {L"arialbd.ttf", "Arial", true, false},
    {L"ariali.ttf", "Arial", false, true},
    {L"times.ttf", "Times New Roman", false, false},
    {L"timesbd.ttf", "Times New Roman", true, false},
    {L"timesi.ttf", "Times New Roman", false, true},
    {L"cour.ttf", "Courier New", false, false},
    {L"tahoma.ttf", "Tahoma", false, false},
    {L"verdana.ttf", "Verdana", false, false},
    {L"calibri.ttf", "Calibri", false, false},
};

} // namespace

FontChoice FontFinder::choose(const std::wstring& fontFile)
{
    const auto cached = mChosen.find(fontFile);
    if (cached != mChosen.end())
        return cached->second;

    std::wstring name = lowered(std::filesystem::path(fontFile).filename().wstring());
    std::wstring extension = lowered(std::filesystem::path(name).extension().wstring());
    FontChoice choice {"Sans", false, false};
    if (extension == L".ttf" || extension == L".ttc" || extension == L".otf") {
        const auto& fonts = installedFonts();
        const auto installed = fonts.find(name);
        const auto* known = std::find_if(std::begin(kWindowsFonts), std::end(kWindowsFonts),
            [&](const KnownFont& f) { return name == f.file; });
        if (installed != fonts.end())
            choice.family = installed->second;
        else if (known != std::end(kWindowsFonts))
            choice.family = known->family;
        else
            choice.family = toUtf8(std::filesystem::path(name).stem().wstring());
        if (known != std::end(kWindowsFonts)) {
            choice.bold = known->bold;
            choice.italic = known->italic;
        }
    } else {
        // Shape fonts: the slanted ones say so in their names (italic.shx, gbeitc.shx, italict.shx).
        choice.italic = name.find(L"ital") != std::wstring::npos || name.find(L"itc") != std::wstring::npos;
    }
    mChosen.emplace(fontFile, choice);
    return choice;
}

} // namespace arxhost::render
