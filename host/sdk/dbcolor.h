// AcCmColor: an entity or layer colour, by ACI index (0 ByBlock, 256 ByLayer) or true colour.
#pragma once

#include "acadstrc.h"
#include "acdb.h"
#include "adesk.h"

class AcCmColor {
public:
    AcCmColor() = default;
    AcDb::ColorMethod colorMethod() const { return mMethod; }
    Acad::ErrorStatus setColorMethod(AcDb::ColorMethod method)
    {
        mMethod = method;
        return Acad::eOk;
    }
    bool isByColor() const { return mMethod == AcDb::kByColor; }
    bool isByLayer() const { return mMethod == AcDb::kByLayer || (mMethod == AcDb::kByACI && mIndex == 256); }
    bool isByBlock() const { return mMethod == AcDb::kByBlock || (mMethod == AcDb::kByACI && mIndex == 0); }
    bool isByACI() const { return mMethod == AcDb::kByACI; }
    bool isNone() const { return mMethod == AcDb::kNone; }

    Adesk::UInt16 colorIndex() const
    {
        switch (mMethod) {
        case AcDb::kByLayer:
            return 256;
        case AcDb::kByBlock:
            return 0;
        case AcDb::kByACI:
            return mIndex;
        case AcDb::kByColor:
            return mIndex; // the nearest index, kept when the true colour was set
        case AcDb::kNone:
            return 257;
        }
        return mIndex;
    }
    Acad::ErrorStatus setColorIndex(Adesk::UInt16 index)
    {
        if (index > 257)
            return Acad::eInvalidInput;
        if (index == 256) {
            mMethod = AcDb::kByLayer;
        } else if (index == 0) {
            mMethod = AcDb::kByBlock;
        } else if (index == 257) {
            mMethod = AcDb::kNone;
        } else {
            mMethod = AcDb::kByACI;
        }
        mIndex = index;
        return Acad::eOk;
    }
    Acad::ErrorStatus setRGB(Adesk::UInt8 red, Adesk::UInt8 green, Adesk::UInt8 blue)
    {
        mMethod = AcDb::kByColor;
        mRgb = (static_cast<Adesk::UInt32>(red) << 16) | (static_cast<Adesk::UInt32>(green) << 8) | blue;
        return Acad::eOk;
    }
    Adesk::UInt8 red() const { return static_cast<Adesk::UInt8>((mRgb >> 16) & 0xFF); }
    Adesk::UInt8 green() const { return static_cast<Adesk::UInt8>((mRgb >> 8) & 0xFF); }
    Adesk::UInt8 blue() const { return static_cast<Adesk::UInt8>(mRgb & 0xFF); }
    Adesk::UInt32 color() const { return mRgb; }
    Acad::ErrorStatus setByLayer() { return setColorIndex(256); }
    Acad::ErrorStatus setByBlock() { return setColorIndex(0); }

    bool operator==(const AcCmColor& other) const
    {
        return mMethod == other.mMethod && colorIndex() == other.colorIndex()
            && (mMethod != AcDb::kByColor || mRgb == other.mRgb);
    }
    bool operator!=(const AcCmColor& other) const { return !(*this == other); }

private:
    AcDb::ColorMethod mMethod = AcDb::kByLayer;
    Adesk::UInt16 mIndex = 256;
    Adesk::UInt32 mRgb = 0;
};
