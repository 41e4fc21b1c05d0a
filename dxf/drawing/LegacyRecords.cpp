// R12 records brought to the subclass structure of R2000 and later.
#include "dxf/drawing/LegacyRecords.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "dxf/drawing/RecordTags.h"

namespace dxf::drawing {

namespace {

using arxhost::RawTag;
using arxhost::RawTags;

struct Section {
    const char* marker;
    std::vector<short> codes;  // empty: every group not claimed by another section
};

// Groups every entity has, under "AcDbEntity".
const std::vector<short> kEntityCodes = { 8, 6, 62, 67, 48, 60, 370, 420, 430, 440, 390, 347, 284, 410 };
const std::vector<short> kTextCodes = { 10, 20, 30, 40, 1, 50, 41, 51, 7, 71, 72, 11, 21, 31, 39, 210, 220, 230 };

long integerOf(const RawTags& tags, short code)
{
    for (const RawTag& tag : tags) {
        std::int64_t value = 0;
        if (tag.code == code && parseInteger(tag.value, value))
            return static_cast<long>(value);
    }
    return 0;
}

std::vector<Section> entitySections(std::wstring_view type, const RawTags& tags, long parentFlags)
{
    if (type == L"TRACE" || type == L"SOLID")
        return { { "AcDbTrace", {} } };
    if (type == L"3DFACE")
        return { { "AcDbFace", {} } };
    if (type == L"SHAPE")
        return { { "AcDbShape", {} } };
    if (type == L"VIEWPORT")
        return { { "AcDbViewport", {} } };
    if (type == L"INSERT")
        return { { "AcDbBlockReference", {} } };
    if (type == L"ATTDEF")
        return { { "AcDbText", kTextCodes }, { "AcDbAttributeDefinition", {} } };
    if (type == L"ATTRIB")
        return { { "AcDbText", kTextCodes }, { "AcDbAttribute", {} } };
    if (type == L"SEQEND")
        return {};
    if (type == L"POLYLINE") {
        const long flags = integerOf(tags, 70);
        if (flags & 8)
            return { { "AcDb3dPolyline", {} } };
        if (flags & 16)
            return { { "AcDbPolygonMesh", {} } };
        if (flags & 64)
            return { { "AcDbPolyFaceMesh", {} } };
        return { { "AcDb2dPolyline", {} } };
    }
    if (type == L"VERTEX") {
        const long flags = integerOf(tags, 70);
        if (parentFlags & 8)
            return { { "AcDbVertex", { 0 } }, { "AcDb3dPolylineVertex", {} } };
        if (parentFlags & 16)
            return { { "AcDbVertex", { 0 } }, { "AcDbPolygonMeshVertex", {} } };
        if (parentFlags & 64)
            return { { "AcDbVertex", { 0 } }, { (flags & 64) ? "AcDbPolyFaceMeshVertex" : "AcDbFaceRecord", {} } };
        return { { "AcDbVertex", { 0 } }, { "AcDb2dVertex", {} } };
    }
    if (type == L"DIMENSION") {
        const std::vector<short> common = { 2, 10, 20, 30, 11, 21, 31, 12, 22, 32, 70, 1, 71, 72, 41, 42, 53, 54, 51, 210, 220, 230, 3 };
        switch (integerOf(tags, 70) & 7) {
        case 0:
            return { { "AcDbDimension", common }, { "AcDbAlignedDimension", { 13, 23, 33, 14, 24, 34 } }, { "AcDbRotatedDimension", {} } };
        case 1:
            return { { "AcDbDimension", common }, { "AcDbAlignedDimension", {} } };
        case 2:
            return { { "AcDbDimension", common }, { "AcDb2LineAngularDimension", {} } };
        case 3:
            return { { "AcDbDimension", common }, { "AcDbDiametricDimension", {} } };
        case 4:
            return { { "AcDbDimension", common }, { "AcDbRadialDimension", {} } };
        case 5:
            return { { "AcDbDimension", common }, { "AcDb3PointAngularDimension", {} } };
        default:
            return { { "AcDbDimension", common }, { "AcDbOrdinateDimension", {} } };
        }
    }
    return { { nullptr, {} } };
}

bool claimedBy(const Section& section, short code)
{
    for (short c : section.codes)
        if (c == code)
            return true;
    return false;
}

} // namespace

bool hasSubclassMarkers(const RawTags& tags)
{
    for (const RawTag& tag : tags)
        if (tag.code == 100)
            return true;
    return false;
}

RawTags withSubclassMarkers(std::wstring_view type, const RawTags& tags, long parentFlags)
{
    if (hasSubclassMarkers(tags))
        return tags;
    // The table records and tables the host keeps as they are.
    const char* recordMarker = type == L"VPORT" ? "AcDbViewportTableRecord"
        : type == L"VIEW"                       ? "AcDbViewTableRecord"
        : type == L"UCS"                        ? "AcDbUCSTableRecord"
                                                : nullptr;
    RawTags out;
    out.reserve(tags.size() + 4);
    auto identity = [&](bool keep) {
        for (const RawTag& tag : tags)
            if ((tag.code == 5 || tag.code == 330 || tag.code == 105) == keep)
                out.push_back(tag);
    };
    if (recordMarker != nullptr || type == L"TABLE") {
        identity(true);
        if (type == L"TABLE") {
            out.push_back({ 100, "AcDbSymbolTable" });
        } else {
            out.push_back({ 100, "AcDbSymbolTableRecord" });
            out.push_back({ 100, recordMarker });
        }
        for (const RawTag& tag : tags)
            if (tag.code != 5 && tag.code != 330 && tag.code != 105)
                out.push_back(tag);
        return out;
    }

    std::vector<Section> sections = entitySections(type, tags, parentFlags);
    if (sections.size() == 1 && sections.front().marker == nullptr)
        return tags;  // a type whose structure the host does not know: left as it is
    // Handle and owner first, then the entity's common groups, then each subclass; extended data last.
    std::size_t xdata = tags.size();
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (tags[i].code == 1001) {
            xdata = i;
            break;
        }
    }
    for (std::size_t i = 0; i < xdata; ++i)
        if (tags[i].code == 5 || tags[i].code == 330)
            out.push_back(tags[i]);
    out.push_back({ 100, "AcDbEntity" });
    std::vector<bool> used(xdata, false);
    for (std::size_t i = 0; i < xdata; ++i) {
        const short code = tags[i].code;
        if (code == 5 || code == 330) {
            used[i] = true;
            continue;
        }
        for (short c : kEntityCodes)
            if (c == code) {
                out.push_back(tags[i]);
                used[i] = true;
            }
    }
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const Section& section = sections[s];
        out.push_back({ 100, section.marker });
        const bool rest = section.codes.empty();
        for (std::size_t i = 0; i < xdata; ++i) {
            if (used[i])
                continue;
            bool laterClaims = false;
            for (std::size_t t = s + 1; t < sections.size(); ++t)
                laterClaims = laterClaims || claimedBy(sections[t], tags[i].code);
            if ((rest && !laterClaims) || claimedBy(section, tags[i].code)) {
                out.push_back(tags[i]);
                used[i] = true;
            }
        }
    }
    for (std::size_t i = 0; i < xdata; ++i)
        if (!used[i])
            out.push_back(tags[i]);
    out.insert(out.end(), tags.begin() + static_cast<std::ptrdiff_t>(xdata), tags.end());
    return out;
}

} // namespace dxf::drawing
