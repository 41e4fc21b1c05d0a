// AcDbText: single-line text, its alignment modes and its box.
#include <cmath>

#include "core/StringCopy.h"
#include "db/DatabaseImpl.h"
#include "dbents.h"
#include "dbsymtb.h"
#include "geometry/CurveKernel.h"

ACRX_DEFINE_MEMBERS_DXF(AcDbText, AcDbEntity, ACRX_T("TEXT"))

namespace {

// Advance of a character in units of the text height: ideographs and full-width forms take a full
// cell, everything else about three quarters of one (the proportions of the host's default font).
double advance(wchar_t c)
{
    if ((c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0x3000 && c <= 0x303F) || c >= 0x20000)
        return 1.0;
    return 0.75;
}

// Visible characters of a text: control codes such as %%d, %%c and %%p count as one character.
double textUnits(const std::wstring& text)
{
    double units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 2 < text.size() && text[i + 1] == L'%') {
            wchar_t code = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[i + 2])));
            if (code == L'd' || code == L'c' || code == L'p') {
                units += 0.75;
                i += 2;
                continue;
            }
            if (code == L'u' || code == L'o') {
                i += 2;
                continue;
            }
        }
        units += advance(text[i]);
    }
    return units;
}

} // namespace

AcDbText::AcDbText() = default;

AcDbText::AcDbText(
    const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style, double height, double rotation)
    : mPosition(position)
    , mAlignmentPoint(position)
    , mText(text == nullptr ? L"" : text)
    , mStyleId(style)
    , mHeight(height)
    , mRotation(rotation)
{
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mPosition = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mAlignmentPoint = pt;
    return Acad::eOk;
}

Adesk::Boolean AcDbText::isDefaultAlignment() const
{
    return mHorizontalMode == AcDb::kTextLeft && mVerticalMode == AcDb::kTextBase;
}

Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mHorizontalMode = mode;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mVerticalMode = mode;
    return Acad::eOk;
}

ACHAR* AcDbText::textString() const
{
    return arxhost::copyForCaller(mText);
}

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mText = text == nullptr ? L"" : text;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId id)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!id.isNull() && AcDbTextStyleTableRecord::cast(arxhost::DatabaseImpl::peek(id)) == nullptr)
        return Acad::eInvalidTextStyle;
    mStyleId = id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHeight(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!(val > 0))
        return Acad::eInvalidInput;
    mHeight = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setRotation(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mRotation = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setWidthFactor(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!(val > 0))
        return Acad::eInvalidInput;
    mWidthFactor = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setOblique(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mOblique = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setThickness(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mThickness = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mNormal = val.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::mirrorInX(Adesk::Boolean val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mMirroredInX = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::mirrorInY(Adesk::Boolean val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mMirroredInY = val;
    return Acad::eOk;
}

double AcDbText::hostTextWidth() const
{
    return textUnits(mText) * mHeight * mWidthFactor;
}

Acad::ErrorStatus AcDbText::adjustAlignment(const AcDbDatabase*)
{
    if (isDefaultAlignment())
        return Acad::eOk;
    if (!writable())
        return Acad::eNotOpenForWrite;
    const double width = hostTextWidth();
    const AcGeVector3d along(std::cos(mRotation), std::sin(mRotation), 0);
    const AcGeVector3d up(-along.y, along.x, 0);
    if (mHorizontalMode == AcDb::kTextAlign || mHorizontalMode == AcDb::kTextFit) {
        // The text runs from the position to the alignment point; the rotation follows from them.
        AcGeVector3d run = mAlignmentPoint - mPosition;
        if (!run.isZeroLength())
            mRotation = std::atan2(run.y, run.x);
        return Acad::eOk;
    }
    double dx = 0;
    switch (mHorizontalMode) {
    case AcDb::kTextCenter:
    case AcDb::kTextMid:
        dx = width / 2;
        break;
    case AcDb::kTextRight:
        dx = width;
        break;
    default:
        break;
    }
    double dy = 0;
    if (mHorizontalMode == AcDb::kTextMid) {
        dy = mHeight / 2;
    } else {
        switch (mVerticalMode) {
        case AcDb::kTextBottom:
            dy = -mHeight / 3; // below the base line by the depth of descenders
            break;
        case AcDb::kTextVertMid:
            dy = mHeight / 2;
            break;
        case AcDb::kTextTop:
            dy = mHeight;
            break;
        default:
            break;
        }
    }
    mPosition = mAlignmentPoint - along * dx - up * dy;
    return Acad::eOk;
}

void AcDbText::hostOnWriteClose()
{
    // A text read from a file keeps the position the file gave it.
    if (!hostLoading())
        adjustAlignment();
}

void AcDbText::hostBox(AcGePoint3d corners[4]) const
{
    AcGePoint3d base = mPosition;
    double width = hostTextWidth();
    AcGeVector3d along(std::cos(mRotation), std::sin(mRotation), 0);
    if ((mHorizontalMode == AcDb::kTextAlign || mHorizontalMode == AcDb::kTextFit)
        && !(mAlignmentPoint - mPosition).isZeroLength()) {
        AcGeVector3d run = mAlignmentPoint - mPosition;
        width = run.length();
        along = run / width;
    } else if (!isDefaultAlignment()) {
        // Not closed yet since the alignment point changed: place it as the close will.
        AcDbText copy(*this);
        copy.hostAttach(nullptr);
        copy.adjustAlignment();
        base = copy.mPosition;
    }
    const AcGeVector3d up(-along.y, along.x, 0);
    corners[0] = base;
    corners[1] = base + along * width;
    corners[2] = base + along * width + up * mHeight;
    corners[3] = base + up * mHeight;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    AcGeVector3d along(std::cos(mRotation), std::sin(mRotation), 0);
    AcGeVector3d up(-along.y, along.x, 0);
    along.transformBy(xform);
    up.transformBy(xform);
    double scale = up.length();
    mPosition.transformBy(xform);
    mAlignmentPoint.transformBy(xform);
    if (!along.isZeroLength())
        mRotation = std::atan2(along.y, along.x);
    if (scale > 0) {
        mWidthFactor *= along.length() / scale;
        mHeight *= scale;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::getGeomExtents(AcDbExtents& extents) const
{
    AcGePoint3d corners[4];
    hostBox(corners);
    extents = AcDbExtents();
    for (const AcGePoint3d& c : corners)
        extents.addPoint(c);
    return Acad::eOk;
}

bool AcDbText::hostPath(arxhost::geom::Path& path) const
{
    AcGePoint3d corners[4];
    hostBox(corners);
    path = arxhost::geom::Path::polygon(std::span<const AcGePoint3d>(corners, 4));
    return true;
}

bool AcDbText::filterGroup(short code, arxhost::TypedValue& out) const
{
    switch (code) {
    case 1:
        out = {1, mText};
        return true;
    case 7: {
        const auto* style = AcDbSymbolTableRecord::cast(arxhost::DatabaseImpl::peek(mStyleId));
        out = {7, std::wstring(style == nullptr ? L"" : style->hostName())};
        return true;
    }
    case 10:
        out = {10, arxhost::TypedValue::Point {mPosition.x, mPosition.y, mPosition.z}};
        return true;
    case 11:
        out = {11, arxhost::TypedValue::Point {mAlignmentPoint.x, mAlignmentPoint.y, mAlignmentPoint.z}};
        return true;
    case 40:
        out = {40, mHeight};
        return true;
    case 41:
        out = {41, mWidthFactor};
        return true;
    case 50:
        out = {50, mRotation * 180.0 / 3.14159265358979323846};
        return true;
    case 72:
        out = {72, static_cast<std::int64_t>(mHorizontalMode)};
        return true;
    case 73:
        out = {73, static_cast<std::int64_t>(mVerticalMode)};
        return true;
    default:
        return AcDbEntity::filterGroup(code, out);
    }
}
