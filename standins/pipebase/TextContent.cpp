// Pipe base library: the content of annotation texts, read and rewritten.
#include "PipeBaseLibrary.h"

#include <string>

#include "db/UnmodelledObjects.h"
#include "dbents.h"
#include "dbobjptr.h"
#include "text/Utf8.h"

namespace {

// The headless host keeps MTEXT entities as the groups read from the drawing file. The content is
// the 3 groups (250-character pieces) followed by the 1 group, all in the AcDbMText subclass, which
// ends where an embedded object (101) or the extended data (1001) begins.
struct ContentRange {
    std::size_t begin = 0;
    std::size_t end = 0;
};

ContentRange mtextSubclass(const arxhost::RawTags& tags)
{
    ContentRange range {0, tags.size()};
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (tags[i].code == 100 && tags[i].value == "AcDbMText")
            range.begin = i + 1;
        else if ((tags[i].code == 101 || tags[i].code == 1001) && i >= range.begin) {
            range.end = i;
            break;
        }
    }
    return range;
}

std::wstring mtextContent(const arxhost::RawTags& tags)
{
    const ContentRange range = mtextSubclass(tags);
    std::string pieces;
    std::string last;
    bool haveLast = false;
    for (std::size_t i = range.begin; i < range.end; ++i) {
        if (tags[i].code == 3)
            pieces += tags[i].value;
        else if (tags[i].code == 1 && !haveLast) {
            last = tags[i].value;
            haveLast = true;
        }
    }
    return arxhost::fromUtf8(pieces + last);
}

void setMtextContent(arxhost::RawTags& tags, const std::wstring& content)
{
    const ContentRange range = mtextSubclass(tags);
    arxhost::RawTags kept;
    kept.reserve(tags.size() + content.size() / 250 + 1);
    std::size_t insertAt = std::string::npos;
    bool lastSeen = false;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const bool inSubclass = i >= range.begin && i < range.end;
        if (inSubclass && (tags[i].code == 3 || (tags[i].code == 1 && !lastSeen))) {
            lastSeen = lastSeen || tags[i].code == 1;
            if (insertAt == std::string::npos)
                insertAt = kept.size();
            continue;
        }
        kept.push_back(tags[i]);
    }
    if (insertAt == std::string::npos)
        insertAt = range.begin <= kept.size() ? range.begin : kept.size();
    arxhost::RawTags pieces;
    std::size_t start = 0;
    while (content.size() - start > 250) {
        pieces.push_back({3, arxhost::toUtf8(std::wstring_view(content).substr(start, 250))});
        start += 250;
    }
    pieces.push_back({1, arxhost::toUtf8(std::wstring_view(content).substr(start))});
    kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(insertAt), pieces.begin(), pieces.end());
    tags = std::move(kept);
}

// Formatting codes that run to the next ';' (font, height, colour, width, tracking, slant, ...).
bool takesArgument(wchar_t code)
{
    return std::wstring_view(L"fFHCcAWQTpS").find(code) != std::wstring_view::npos;
}

// The MTEXT content as it reads: formatting codes and grouping braces dropped, escapes resolved.
std::wstring plainText(const std::wstring& content)
{
    std::wstring out;
    out.reserve(content.size());
    for (std::size_t i = 0; i < content.size(); ++i) {
        const wchar_t c = content[i];
        if (c == L'{' || c == L'}')
            continue;
        if (c != L'\\' || i + 1 >= content.size()) {
            out.push_back(c);
            continue;
        }
        const wchar_t code = content[++i];
        if (code == L'\\' || code == L'{' || code == L'}') {
            out.push_back(code);
        } else if (code == L'P') {
            out.push_back(L'\n');
        } else if (code == L'~') {
            out.push_back(L' ');
        } else if (code == L'U' && i + 5 < content.size() && content[i + 1] == L'+') {
            const std::wstring hex = content.substr(i + 2, 4);
            wchar_t* end = nullptr;
            const unsigned long value = std::wcstoul(hex.c_str(), &end, 16);
            if (end == hex.c_str() + 4) {
                out.push_back(static_cast<wchar_t>(value));
                i += 5;
            } else {
                out.push_back(L'\\');
                out.push_back(code);
            }
        } else if (code == L'S') {
            // A stacked fraction "\S1^2;" reads as "1/2".
            const std::size_t stop = content.find(L';', i);
            std::wstring stacked
                = content.substr(i + 1, (stop == std::wstring::npos ? content.size() : stop) - i - 1);
            for (wchar_t& s : stacked)
                if (s == L'^' || s == L'#')
                    s = L'/';
            out += stacked;
            i = stop == std::wstring::npos ? content.size() : stop;
        } else if (takesArgument(code)) {
            const std::size_t stop = content.find(L';', i);
            i = stop == std::wstring::npos ? content.size() : stop;
        }
        // Other codes (\L \l \O \o \K \k \N ...) switch formatting on or off and show nothing.
    }
    return out;
}

// The plain text as MTEXT content that reads back as the same text.
std::wstring escaped(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\\' || c == L'{' || c == L'}') {
            out.push_back(L'\\');
            out.push_back(c);
        } else if (c == L'\r') {
            if (i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            out += L"\\P";
        } else if (c == L'\n') {
            out += L"\\P";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// The host's MTEXT record behind the object, or null.
arxhost::UnmodelledEntity* asMtext(AcDbObject* object)
{
    arxhost::UnmodelledEntity* raw = arxhost::UnmodelledEntity::cast(object);
    return raw != nullptr && raw->type() == L"MTEXT" ? raw : nullptr;
}

} // namespace

CString GetTextValue(AcDbObjectId id)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    if (entity.openStatus() != Acad::eOk)
        return CString();
    if (const AcDbText* text = AcDbText::cast(entity.object()))
        return CString(text->textStringConst());
    if (const arxhost::UnmodelledEntity* mtext = asMtext(entity.object()))
        return CString(plainText(mtextContent(mtext->tags())).c_str());
    return CString();
}

int ModiText(AcDbObjectId id, CString text)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
    if (entity.openStatus() != Acad::eOk)
        return 0;
    if (AcDbText* single = AcDbText::cast(entity.object()))
        return single->setTextString(text.GetString()) == Acad::eOk ? 1 : 0;
    arxhost::UnmodelledEntity* mtext = asMtext(entity.object());
    if (mtext == nullptr)
        return 0;
    arxhost::RawTags tags = mtext->tags();
    setMtextContent(tags, escaped(text.GetString()));
    mtext->hostSetTags(std::move(tags));
    return 1;
}
