// The entities the host models: line, circle, arc, point, text, block reference, 2D polyline.
#pragma once

#include <vector>

#include "dbcurve.h"
#include "gedblar.h"
#include "gepnt2d.h"
#include "gescl3d.h"

class AcDbLine : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbLine);
    AcDbLine();
    AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end);
    AcGePoint3d startPoint() const { return mStart; }
    Acad::ErrorStatus setStartPoint(const AcGePoint3d& pt);
    AcGePoint3d endPoint() const { return mEnd; }
    Acad::ErrorStatus setEndPoint(const AcGePoint3d& pt);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double val);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& val);
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    using AcDbCurve::extend;
    Acad::ErrorStatus extend(Adesk::Boolean extendStart, const AcGePoint3d& toPoint) override;
    Acad::ErrorStatus reverseCurve() override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    bool hostPath(arxhost::geom::Path& path) const override;
    bool filterGroup(short code, arxhost::TypedValue& out) const override;
    const ACHAR* dxfTypeName() const override { return ACRX_T("LINE"); }
    AcRxObject* clone() const override { return new AcDbLine(*this); }

private:
    AcGePoint3d mStart;
    AcGePoint3d mEnd;
    double mThickness = 0.0;
    AcGeVector3d mNormal = AcGeVector3d::kZAxis;
};

class AcDbCircle : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbCircle);
    AcDbCircle();
    AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
    AcGePoint3d center() const { return mCenter; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& pt);
    double radius() const { return mRadius; }
    Acad::ErrorStatus setRadius(double val);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& val);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double val);
    double circumference() const;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    bool hostPath(arxhost::geom::Path& path) const override;
    bool filterGroup(short code, arxhost::TypedValue& out) const override;
    const ACHAR* dxfTypeName() const override { return ACRX_T("CIRCLE"); }
    AcRxObject* clone() const override { return new AcDbCircle(*this); }

private:
    AcGePoint3d mCenter;
    double mRadius = 0.0;
    AcGeVector3d mNormal = AcGeVector3d::kZAxis;
    double mThickness = 0.0;
};

// A circular arc, counter-clockwise from its start angle to its end angle (radians, kept in [0, 2π)).
class AcDbArc : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbArc);
    AcDbArc();
    AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
    AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
        double endAngle);
    AcGePoint3d center() const { return mCenter; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& pt);
    double radius() const { return mRadius; }
    Acad::ErrorStatus setRadius(double val);
    double startAngle() const { return mStartAngle; }
    Acad::ErrorStatus setStartAngle(double val);
    double endAngle() const { return mEndAngle; }
    Acad::ErrorStatus setEndAngle(double val);
    double totalAngle() const;
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& val);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double val);
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    using AcDbCurve::extend;
    Acad::ErrorStatus extend(Adesk::Boolean extendStart, const AcGePoint3d& toPoint) override;
    bool hostPath(arxhost::geom::Path& path) const override;
    bool filterGroup(short code, arxhost::TypedValue& out) const override;
    const ACHAR* dxfTypeName() const override { return ACRX_T("ARC"); }
    AcRxObject* clone() const override { return new AcDbArc(*this); }

private:
    AcGePoint3d mCenter;
    double mRadius = 0.0;
    double mStartAngle = 0.0;
    double mEndAngle = 0.0;
    AcGeVector3d mNormal = AcGeVector3d::kZAxis;
    double mThickness = 0.0;
};

class AcDbPoint : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbPoint);
    AcDbPoint();
    explicit AcDbPoint(const AcGePoint3d& position);
    AcGePoint3d position() const { return mPosition; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& pt);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double val);
    double ecsRotation() const { return mEcsRotation; }
    Acad::ErrorStatus setEcsRotation(double val);
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    bool hostPath(arxhost::geom::Path& path) const override;
    bool filterGroup(short code, arxhost::TypedValue& out) const override;
    const ACHAR* dxfTypeName() const override { return ACRX_T("POINT"); }
    AcRxObject* clone() const override { return new AcDbPoint(*this); }

private:
    AcGePoint3d mPosition;
    double mThickness = 0.0;
    double mEcsRotation = 0.0;
};

// Single-line text. With left/base alignment the position is the insertion point; with any other
// mode the alignment point governs and the position follows from it and the text's extent.
class AcDbText : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbText);
    AcDbText();
    AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style = AcDbObjectId::kNull,
        double height = 0, double rotation = 0);
    AcGePoint3d position() const { return mPosition; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& pt);
    AcGePoint3d alignmentPoint() const { return mAlignmentPoint; }
    Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& pt);
    Adesk::Boolean isDefaultAlignment() const;
    AcDb::TextHorzMode horizontalMode() const { return mHorizontalMode; }
    Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
    AcDb::TextVertMode verticalMode() const { return mVerticalMode; }
    Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);
    // The text; the caller frees it with acutDelString.
    ACHAR* textString() const;
    const ACHAR* textStringConst() const { return mText.c_str(); }
    Acad::ErrorStatus setTextString(const ACHAR* text);
    AcDbObjectId textStyle() const { return mStyleId; }
    Acad::ErrorStatus setTextStyle(AcDbObjectId id);
    double height() const { return mHeight; }
    Acad::ErrorStatus setHeight(double val);
    double rotation() const { return mRotation; }
    Acad::ErrorStatus setRotation(double val);
    double widthFactor() const { return mWidthFactor; }
    Acad::ErrorStatus setWidthFactor(double val);
    double oblique() const { return mOblique; }
    Acad::ErrorStatus setOblique(double val);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double val);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& val);
    Adesk::Boolean isMirroredInX() const { return mMirroredInX; }
    Acad::ErrorStatus mirrorInX(Adesk::Boolean val);
    Adesk::Boolean isMirroredInY() const { return mMirroredInY; }
    Acad::ErrorStatus mirrorInY(Adesk::Boolean val);
    // Recomputes the position from the alignment point, as the host does before display.
    Acad::ErrorStatus adjustAlignment(const AcDbDatabase* pDb = nullptr);
    // The four corners of the text's box, counter-clockwise from the bottom left, in world coordinates.
    void hostBox(AcGePoint3d corners[4]) const;
    // Width of the text as laid out (an estimate from the character count: full width for CJK).
    double hostTextWidth() const;
    void hostOnWriteClose() override;

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    bool hostPath(arxhost::geom::Path& path) const override;
    bool filterGroup(short code, arxhost::TypedValue& out) const override;
    const ACHAR* dxfTypeName() const override { return ACRX_T("TEXT"); }
    AcRxObject* clone() const override { return new AcDbText(*this); }

private:
    AcGePoint3d mPosition;
    AcGePoint3d mAlignmentPoint;
    AcDb::TextHorzMode mHorizontalMode = AcDb::kTextLeft;
    AcDb::TextVertMode mVerticalMode = AcDb::kTextBase;
    std::wstring mText;
    AcDbObjectId mStyleId;
    double mHeight = 0.0;
    double mRotation = 0.0;
    double mWidthFactor = 1.0;
    double mOblique = 0.0;
    double mThickness = 0.0;
    AcGeVector3d mNormal = AcGeVector3d::kZAxis;
    bool mMirroredInX = false;
    bool mMirroredInY = false;
};

class AcDbBlockReference : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockReference);
    AcDbBlockReference();
    AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec);
    AcDbObjectId blockTableRecord() const { return mBlockId; }
    Acad::ErrorStatus setBlockTableRecord(AcDbObjectId id);
    AcGePoint3d position() const { return mPosition; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& pt);
    AcGeScale3d scaleFactors() const { return mScale; }
    Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
    double rotation() const { return mRotation; }
    Acad::ErrorStatus setRotation(double newVal);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& newVal);
    // From block coordinates (relative to the block's origin) to world coordinates.
    AcGeMatrix3d blockTransform() const;
    Acad::ErrorStatus setBlockTransform(const AcGeMatrix3d& mat);
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    bool hostPath(arxhost::geom::Path& path) const override;
    bool filterGroup(short code, arxhost::TypedValue& out) const override;
    const ACHAR* dxfTypeName() const override { return ACRX_T("INSERT"); }
    AcRxObject* clone() const override { return new AcDbBlockReference(*this); }

private:
    AcDbObjectId mBlockId;
    AcGePoint3d mPosition;
    AcGeScale3d mScale;
    double mRotation = 0.0;
    AcGeVector3d mNormal = AcGeVector3d::kZAxis;
};

// A vertex of a 2D polyline; its position is in the polyline's coordinate system (ECS).
class AcDb2dVertex : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDb2dVertex);
    AcDb2dVertex();
    AcDb2dVertex(const AcGePoint3d& position, double bulge = 0, double startWidth = 0, double endWidth = 0,
        double tangent = 0);
    AcDb::Vertex2dType vertexType() const { return mType; }
    AcGePoint3d position() const { return mPosition; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& pt);
    double bulge() const { return mBulge; }
    Acad::ErrorStatus setBulge(double newVal);
    double startWidth() const { return mStartWidth; }
    Acad::ErrorStatus setStartWidth(double newVal);
    double endWidth() const { return mEndWidth; }
    Acad::ErrorStatus setEndWidth(double newVal);
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    const ACHAR* dxfTypeName() const override { return ACRX_T("VERTEX"); }
    // Host side: moves the vertex on behalf of its polyline (which holds the write-open).
    void hostMoveTo(const AcGePoint3d& pt, double bulge)
    {
        mPosition = pt;
        mBulge = bulge;
    }
    AcRxObject* clone() const override { return new AcDb2dVertex(*this); }

private:
    AcDb::Vertex2dType mType = AcDb::k2dVertex;
    AcGePoint3d mPosition;
    double mBulge = 0.0;
    double mStartWidth = 0.0;
    double mEndWidth = 0.0;
};

// Walks the sub-objects of an entity (the vertices of a 2D polyline); the caller deletes it.
class AcDbObjectIterator : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObjectIterator);
    explicit AcDbObjectIterator(std::vector<AcDbObjectId> ids);
    bool done() const;
    void step(bool backwards = false, bool skipDeleted = true);
    void start(bool atEnd = false);
    AcDbEntity* entity();
    AcDbObjectId objectId();
    void setPosition(AcDbObjectId pObj);

private:
    std::vector<AcDbObjectId> mIds;
    int mIndex = 0;
};

// The old-style polyline: a list of vertex objects owned by the polyline.
class AcDb2dPolyline : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDb2dPolyline);
    AcDb2dPolyline();
    AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation = 0,
        Adesk::Boolean closed = Adesk::kFalse, double defStartWidth = 0, double defEndWidth = 0,
        const AcGeDoubleArray* bulges = nullptr);
    ~AcDb2dPolyline() override;
    AcDb::Poly2dType polyType() const { return mType; }
    Acad::ErrorStatus setPolyType(AcDb::Poly2dType type);
    Adesk::Boolean isClosed() const override { return mClosed; }
    Acad::ErrorStatus makeClosed();
    Acad::ErrorStatus makeOpen();
    Acad::ErrorStatus setClosed(Adesk::Boolean closed) { return closed ? makeClosed() : makeOpen(); }
    double elevation() const { return mElevation; }
    Acad::ErrorStatus setElevation(double elev);
    AcGeVector3d normal() const { return mNormal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double defaultStartWidth() const { return mDefaultStartWidth; }
    double defaultEndWidth() const { return mDefaultEndWidth; }
    Acad::ErrorStatus setDefaultStartWidth(double w);
    Acad::ErrorStatus setDefaultEndWidth(double w);
    // Takes ownership of the vertex; the polyline must be open for write.
    Acad::ErrorStatus appendVertex(AcDb2dVertex* pNewVertex);
    Acad::ErrorStatus appendVertex(AcDbObjectId& objId, AcDb2dVertex* pNewVertex);
    Acad::ErrorStatus insertVertexAt(const AcDb2dVertex* pIndexVert, AcDb2dVertex* pNewVertex);
    Acad::ErrorStatus openVertex(
        AcDb2dVertex*& pVertex, AcDbObjectId vertId, AcDb::OpenMode mode, bool openErasedOne = false) const;
    AcDbObjectIterator* vertexIterator() const;
    // World position of a vertex of this polyline.
    AcGePoint3d vertexPosition(const AcDb2dVertex& vert) const;
    int hostVertexCount() const;
    // Host side: positions (world) and bulges of the live vertices, in order.
    void hostVertices(AcGePoint3dArray& points, AcGeDoubleArray& bulges) const;
    const std::vector<AcDbObjectId>& hostVertexIds() const { return mVertexIds; }
    // Host side: vertices created before the polyline joined a database; moved in on append.
    std::vector<AcDb2dVertex*> hostTakePendingVertices();
    void hostAdoptVertexId(AcDbObjectId id) { mVertexIds.push_back(id); }

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    using AcDbCurve::extend;
    Acad::ErrorStatus extend(Adesk::Boolean extendStart, const AcGePoint3d& toPoint) override;
    bool hostPath(arxhost::geom::Path& path) const override;
    bool filterGroup(short code, arxhost::TypedValue& out) const override;
    const ACHAR* dxfTypeName() const override { return ACRX_T("POLYLINE"); }
    AcRxObject* clone() const override { return new AcDb2dPolyline(*this); }

private:
    AcDb2dPolyline(const AcDb2dPolyline& other);
    AcDb::Poly2dType mType = AcDb::k2dSimplePoly;
    bool mClosed = false;
    double mElevation = 0.0;
    double mDefaultStartWidth = 0.0;
    double mDefaultEndWidth = 0.0;
    AcGeVector3d mNormal = AcGeVector3d::kZAxis;
    std::vector<AcDbObjectId> mVertexIds;
    std::vector<std::unique_ptr<AcDb2dVertex>> mPendingVertices;
};
