// AcDbDimension with its dimension-variable overrides, and AcDbRadialDimension.
#include <cmath>
#include <cwchar>

#include "db/DatabaseImpl.h"
#include "db/DimVarAccessors.h"
#include "dbdim.h"
#include "dbsymtb.h"
#include "geometry/CurveKernel.h"
#include "text/WideFormat.h"

ACRX_DEFINE_MEMBERS_DXF(AcDbDimension, AcDbEntity, ACRX_T("DIMENSION"))
ACRX_DEFINE_MEMBERS_DXF(AcDbRadialDimension, AcDbDimension, ACRX_T("DIMENSION"))

#define ARXHOST_DIMENSION_DIMVAR(Cap, low, Kind, code, def) ARXHOST_DIMVAR_DEF_##Kind(AcDbDimension, Cap, low)
ARXHOST_DIMVARS(ARXHOST_DIMENSION_DIMVAR)
#undef ARXHOST_DIMENSION_DIMVAR

AcDbDimension::AcDbDimension() = default;
AcDbDimension::AcDbDimension(const AcDbDimension& other) = default;
AcDbDimension::~AcDbDimension() = default;

arxhost::DimVarValue AcDbDimension::hostDimVarGet(arxhost::DimVar var) const
{
    auto it = mOverrides.find(var);
    if (it != mOverrides.end())
        return it->second;
    AcDbObjectId styleId = mStyleId;
    if (styleId.isNull() && database() != nullptr)
        styleId = database()->dimstyle();
    if (const auto* style = AcDbDimStyleTableRecord::cast(arxhost::DatabaseImpl::peek(styleId)))
        return style->hostDimVarGet(var);
    return arxhost::dimVarDefault(var);
}

Acad::ErrorStatus AcDbDimension::hostDimVarSet(arxhost::DimVar var, arxhost::DimVarValue value)
{
    if (!arxhost::dimVarValueAllowed(var, value))
        return Acad::eInvalidInput;
    if (!writable())
        return Acad::eNotOpenForWrite;
    mOverrides[var] = std::move(value);
    return Acad::eOk;
}

const AcDbDatabase* AcDbDimension::hostDimVarDatabase() const
{
    if (database() != nullptr)
        return database();
    return nullptr;
}

void AcDbDimension::hostSetOverride(arxhost::DimVar var, arxhost::DimVarValue value)
{
    mOverrides[var] = std::move(value);
}

Acad::ErrorStatus AcDbDimension::setDimensionStyle(AcDbObjectId id)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!id.isNull() && AcDbDimStyleTableRecord::cast(arxhost::DatabaseImpl::peek(id)) == nullptr)
        return Acad::eInvalidDimStyle;
    mStyleId = id;
    return Acad::eOk;
}

ACHAR* AcDbDimension::dimensionText() const
{
    return arxhost::copyForCaller(mText);
}

Acad::ErrorStatus AcDbDimension::setDimensionText(const ACHAR* text)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mText = text == nullptr ? L"" : text;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDimension::setTextPosition(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mTextPosition = pt;
    mDefaultTextPosition = false;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDimension::useDefaultTextPosition()
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mDefaultTextPosition = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDimension::setTextRotation(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mTextRotation = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDimension::setNormal(const AcGeVector3d& val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mNormal = val.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDimension::measurement(double& value)
{
    value = 0;
    return Acad::eNotApplicable;
}

AcString AcDbDimension::hostFormattedText() const
{
    double measured = 0;
    const_cast<AcDbDimension*>(this)->measurement(measured);
    const double lfac = std::get<double>(hostDimVarGet(arxhost::DimVar::Dimlfac));
    const int dec = std::get<int>(hostDimVarGet(arxhost::DimVar::Dimdec));
    const wchar_t sep = std::get<wchar_t>(hostDimVarGet(arxhost::DimVar::Dimdsep));
    std::wstring number = arxhost::formatWide(L"%.*f", dec, measured * lfac);
    for (wchar_t& c : number)
        if (c == L'.')
            c = sep;
    std::wstring measuredText = number;
    std::wstring post = std::get<std::wstring>(hostDimVarGet(arxhost::DimVar::Dimpost));
    if (!post.empty()) {
        std::size_t at = post.find(L"<>");
        measuredText
            = at == std::wstring::npos ? number + post : post.substr(0, at) + number + post.substr(at + 2);
    }
    if (mText.empty())
        return AcString(measuredText.c_str());
    std::wstring text = mText;
    std::size_t at = text.find(L"<>");
    if (at != std::wstring::npos)
        text.replace(at, 2, measuredText);
    return AcString(text.c_str());
}

Acad::ErrorStatus AcDbDimension::setDimstyleData(AcDbObjectId newDataId)
{
    const auto* style = AcDbDimStyleTableRecord::cast(arxhost::DatabaseImpl::peek(newDataId));
    if (style == nullptr)
        return Acad::eInvalidDimStyle;
    return setDimstyleData(const_cast<AcDbDimStyleTableRecord*>(style));
}

Acad::ErrorStatus AcDbDimension::setDimstyleData(AcDbDimStyleTableRecord* pNewData)
{
    if (pNewData == nullptr)
        return Acad::eNullObjectPointer;
    if (!writable())
        return Acad::eNotOpenForWrite;
    for (int i = 0; i < static_cast<int>(arxhost::DimVar::Count); ++i) {
        auto var = static_cast<arxhost::DimVar>(i);
        mOverrides[var] = pNewData->hostDimVarGet(var);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDimension::getGeomExtents(AcDbExtents& extents) const
{
    return AcDbEntity::getGeomExtents(extents);
}

bool AcDbDimension::filterGroup(short code, arxhost::TypedValue& out) const
{
    switch (code) {
    case 1:
        out = {1, mText};
        return true;
    case 3: {
        const auto* style = AcDbSymbolTableRecord::cast(arxhost::DatabaseImpl::peek(mStyleId));
        out = {3, std::wstring(style == nullptr ? L"" : style->hostName())};
        return true;
    }
    default:
        return AcDbEntity::filterGroup(code, out);
    }
}

// ---- Radial dimension ----

AcDbRadialDimension::AcDbRadialDimension() = default;

AcDbRadialDimension::AcDbRadialDimension(const AcGePoint3d& center, const AcGePoint3d& chordPoint,
    double leaderLength, const ACHAR* dimText, AcDbObjectId dimStyle)
    : mCenter(center)
    , mChordPoint(chordPoint)
    , mLeaderLength(leaderLength)
{
    if (dimText != nullptr)
        setDimensionText(dimText);
    if (!dimStyle.isNull())
        setDimensionStyle(dimStyle);
    mTextPosition = hostLeaderEnd();
}

Acad::ErrorStatus AcDbRadialDimension::setCenter(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mCenter = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRadialDimension::setChordPoint(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mChordPoint = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRadialDimension::setLeaderLength(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mLeaderLength = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRadialDimension::measurement(double& value)
{
    value = mCenter.distanceTo(mChordPoint);
    return Acad::eOk;
}

AcGePoint3d AcDbRadialDimension::hostLeaderEnd() const
{
    AcGeVector3d out = mChordPoint - mCenter;
    if (out.isZeroLength())
        return mChordPoint;
    return mChordPoint + out.normal() * mLeaderLength;
}

Acad::ErrorStatus AcDbRadialDimension::transformBy(const AcGeMatrix3d& xform)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    AcGeVector3d unit = AcGeVector3d::kXAxis;
    unit.transformBy(xform);
    mCenter.transformBy(xform);
    mChordPoint.transformBy(xform);
    mTextPosition.transformBy(xform);
    mLeaderLength *= unit.length();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRadialDimension::getGeomExtents(AcDbExtents& extents) const
{
    extents = AcDbExtents();
    extents.addPoint(mCenter);
    extents.addPoint(mChordPoint);
    extents.addPoint(hostLeaderEnd());
    if (!isUsingDefaultTextPosition())
        extents.addPoint(mTextPosition);
    return Acad::eOk;
}

bool AcDbRadialDimension::hostPath(arxhost::geom::Path& path) const
{
    // The leader: from the chord point out to its end (the dimension line to the centre is not picked).
    path = arxhost::geom::Path::line(mChordPoint, hostLeaderEnd());
    return true;
}
