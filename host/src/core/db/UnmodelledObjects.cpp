// Entities and objects kept as read from a drawing file.
#include "db/UnmodelledObjects.h"

#include <charconv>

#include "geometry/CurveKernel.h"
#include "text/Utf8.h"

ACRX_DEFINE_MEMBERS(arxhost::UnmodelledEntity, AcDbEntity)
ACRX_DEFINE_MEMBERS(arxhost::UnmodelledObject, AcDbObject)

namespace arxhost {

namespace {

bool toDouble(const std::string& text, double& out)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin < end && *begin == ' ')
        ++begin;
    auto result = std::from_chars(begin, end, out);
    return result.ec == std::errc();
}

bool toInteger(const std::string& text, std::int64_t& out)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin < end && *begin == ' ')
        ++begin;
    auto result = std::from_chars(begin, end, out);
    return result.ec == std::errc();
}

// Adds the points of the 10/20/30 and 11/21/31 ... groups of a record to the box.
void addPoints(const RawTags& tags, AcDbExtents& extents, bool& any)
{
    for (std::size_t i = 0; i + 1 < tags.size(); ++i) {
        const short code = tags[i].code;
        if (code < 10 || code > 18 || tags[i + 1].code != code + 10)
            continue;
        double x = 0;
        double y = 0;
        if (!toDouble(tags[i].value, x) || !toDouble(tags[i + 1].value, y))
            continue;
        double z = 0;
        if (i + 2 < tags.size() && tags[i + 2].code == code + 20)
            toDouble(tags[i + 2].value, z);
        extents.addPoint(AcGePoint3d(x, y, z));
        any = true;
    }
}

} // namespace

const std::string* firstValue(const RawTags& tags, short code)
{
    for (const RawTag& tag : tags)
        if (tag.code == code)
            return &tag.value;
    return nullptr;
}

UnmodelledEntity::UnmodelledEntity(std::wstring type, RawTags tags, std::vector<RawRecord> followers)
    : mType(std::move(type))
    , mTags(std::move(tags))
    , mFollowers(std::move(followers))
{
}

Acad::ErrorStatus UnmodelledEntity::transformBy(const AcGeMatrix3d&)
{
    // The host cannot know what the groups of an unknown entity mean, so it cannot move them.
    return Acad::eNotApplicable;
}

Acad::ErrorStatus UnmodelledEntity::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    bool any = false;
    addPoints(mTags, extents, any);
    for (const RawRecord& follower : mFollowers)
        addPoints(follower.tags, extents, any);
    return any ? Acad::eOk : Acad::eInvalidExtents;
}

bool UnmodelledEntity::hostPath(geom::Path& path) const
{
    AcDbExtents extents;
    if (getGeomExtents(extents) != Acad::eOk)
        return false;
    const AcGePoint3d a = extents.minPoint();
    const AcGePoint3d c = extents.maxPoint();
    const AcGePoint3d corners[4] = { a, AcGePoint3d(c.x, a.y, a.z), c, AcGePoint3d(a.x, c.y, a.z) };
    path = geom::Path::polygon(std::span<const AcGePoint3d>(corners, 4));
    return true;
}

bool UnmodelledEntity::filterGroup(short code, TypedValue& out) const
{
    if (code == 0 || code == 5 || code == 8 || code == 62 || code == 6)
        return AcDbEntity::filterGroup(code, out);
    const std::string* value = firstValue(mTags, code);
    if (value == nullptr)
        return false;
    if ((code >= 10 && code <= 18) || code == 210) {
        TypedValue::Point p { 0, 0, 0 };
        for (std::size_t i = 0; i + 1 < mTags.size(); ++i) {
            if (mTags[i].code == code) {
                toDouble(mTags[i].value, p[0]);
                if (mTags[i + 1].code == code + 10)
                    toDouble(mTags[i + 1].value, p[1]);
                if (i + 2 < mTags.size() && mTags[i + 2].code == code + 20)
                    toDouble(mTags[i + 2].value, p[2]);
                break;
            }
        }
        out = { code, p };
        return true;
    }
    std::int64_t integer = 0;
    double real = 0;
    const bool integral = (code >= 60 && code <= 99) || (code >= 160 && code <= 179) || (code >= 270 && code <= 299)
        || (code >= 370 && code <= 389) || (code >= 400 && code <= 409) || (code >= 420 && code <= 459) || code == 1070
        || code == 1071;
    const bool floating = (code >= 38 && code <= 59) || (code >= 110 && code <= 149) || (code >= 460 && code <= 469)
        || (code >= 1010 && code <= 1059);
    if (integral && toInteger(*value, integer)) {
        out = { code, integer };
        return true;
    }
    if (floating && toDouble(*value, real)) {
        out = { code, real };
        return true;
    }
    out = { code, fromUtf8(*value) };
    return true;
}

UnmodelledObject::UnmodelledObject(std::wstring type, RawTags tags)
    : mType(std::move(type))
    , mTags(std::move(tags))
{
}

} // namespace arxhost
