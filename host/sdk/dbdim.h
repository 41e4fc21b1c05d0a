// Dimensions: the common base with its per-entity dimension variable overrides, and radial dimensions.
#pragma once

#include <map>

#include "dbmain.h"

class AcDbDimension : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbDimension);
    ~AcDbDimension() override;

    AcDbObjectId dimensionStyle() const { return mStyleId; }
    Acad::ErrorStatus setDimensionStyle(AcDbObjectId id);
    // The text override ("" = measured value, "<>" stands for the measured value); the caller frees it.
    ACHAR* dimensionText() const;
    Acad::ErrorStatus setDimensionText(const ACHAR* text);
    AcGePoint3d textPosition() const { return mTextPosition; }
    Acad::ErrorStatus setTextPosition(const AcGePoint3d& pt);
    bool isUsingDefaultTextPosition() const { return mDefaultTextPosition; }
    Acad::ErrorStatus useDefaultTextPosition();
    double textRotation() const { return mTextRotation; }
    Acad::ErrorStatus setTextRotation(double val);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& val);
    double elevation() const { return mTextPosition.z; }
    // The measured value in drawing units (before DIMLFAC).
    virtual Acad::ErrorStatus measurement(double& value);
    // The text the host shows: DIMPOST applied to the measured value times DIMLFAC, rounded to DIMDEC
    // places with DIMDSEP as decimal separator, or the text override.
    AcString hostFormattedText() const;
    // Copies the style's values into this dimension's overrides.
    Acad::ErrorStatus setDimstyleData(AcDbObjectId newDataId);
    Acad::ErrorStatus setDimstyleData(AcDbDimStyleTableRecord* pNewData);

    // Dimension variables: an override set on this dimension wins over its style's value.
    ARXHOST_DECLARE_DIMVAR_ACCESSORS

    // Host side: the overrides set on this entity, in the order of the catalogue.
    const std::map<arxhost::DimVar, arxhost::DimVarValue>& hostOverrides() const { return mOverrides; }
    // Host side: the text position as a file gives it, and whether the user placed the text there.
    void hostSetTextPosition(const AcGePoint3d& pt, bool userDefined)
    {
        mTextPosition = pt;
        mDefaultTextPosition = !userDefined;
    }
    // Host side: sets an override without the write check (the file reader).
    void hostSetOverride(arxhost::DimVar var, arxhost::DimVarValue value);

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    bool filterGroup(short code, arxhost::TypedValue& out) const override;
    const ACHAR* dxfTypeName() const override { return ACRX_T("DIMENSION"); }

protected:
    AcDbDimension();
    AcDbDimension(const AcDbDimension& other);
    AcGePoint3d mTextPosition;

private:
    AcDbObjectId mStyleId;
    std::wstring mText;
    bool mDefaultTextPosition = true;
    double mTextRotation = 0.0;
    AcGeVector3d mNormal = AcGeVector3d::kZAxis;
    std::map<arxhost::DimVar, arxhost::DimVarValue> mOverrides;
};

// The radius of an arc or circle: a leader from the chord point, outwards by the leader length
// (inwards when it is negative), carrying the text.
class AcDbRadialDimension : public AcDbDimension {
public:
    ACRX_DECLARE_MEMBERS(AcDbRadialDimension);
    AcDbRadialDimension();
    AcDbRadialDimension(const AcGePoint3d& center, const AcGePoint3d& chordPoint, double leaderLength,
        const ACHAR* dimText = nullptr, AcDbObjectId dimStyle = AcDbObjectId::kNull);
    AcGePoint3d center() const { return mCenter; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& pt);
    AcGePoint3d chordPoint() const { return mChordPoint; }
    Acad::ErrorStatus setChordPoint(const AcGePoint3d& pt);
    double leaderLength() const { return mLeaderLength; }
    Acad::ErrorStatus setLeaderLength(double val);
    Acad::ErrorStatus measurement(double& value) override;
    // Host side: the point where the leader ends, where the text sits by default.
    AcGePoint3d hostLeaderEnd() const;

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    bool hostPath(arxhost::geom::Path& path) const override;
    AcRxObject* clone() const override { return new AcDbRadialDimension(*this); }

private:
    AcGePoint3d mCenter;
    AcGePoint3d mChordPoint;
    double mLeaderLength = 0.0;
};
