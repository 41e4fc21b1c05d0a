// Entities and objects of a drawing file that the host does not model, kept whole to be written back.
#pragma once

#include <string>
#include <vector>

#include "dbmain.h"
#include "detail/RawTags.h"

namespace arxhost {

// One record of a drawing file: its type ("MTEXT", "VERTEX") and its groups after the type.
struct RawRecord {
    std::wstring type;
    RawTags tags;
};

// An entity the host does not model (MTEXT, HATCH, SPLINE, ...). Its groups are kept as read; the
// host knows its layer and colour (so that layer and filter operations see it) and the box of its
// points (so that selections find it). Records that belong to it (VERTEX, ATTRIB, SEQEND) follow it.
class UnmodelledEntity : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(UnmodelledEntity);
    UnmodelledEntity() = default;
    UnmodelledEntity(std::wstring type, RawTags tags, std::vector<RawRecord> followers);

    const std::wstring& type() const { return mType; }
    const RawTags& tags() const { return mTags; }
    const std::vector<RawRecord>& followers() const { return mFollowers; }
    // Host side: the file reader completing old records (handles, owners).
    void hostSetTags(RawTags tags) { mTags = std::move(tags); }
    void hostSetFollowers(std::vector<RawRecord> followers) { mFollowers = std::move(followers); }

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    bool hostPath(geom::Path& path) const override;
    bool filterGroup(short code, TypedValue& out) const override;
    const ACHAR* dxfTypeName() const override { return mType.c_str(); }
    AcRxObject* clone() const override { return new UnmodelledEntity(*this); }

private:
    UnmodelledEntity(const UnmodelledEntity& other) = default;
    std::wstring mType;
    RawTags mTags;
    std::vector<RawRecord> mFollowers;
};

// An object the host does not model (LAYOUT, MLINESTYLE, a VPORT table record, ...), kept as read.
class UnmodelledObject : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(UnmodelledObject);
    UnmodelledObject() = default;
    UnmodelledObject(std::wstring type, RawTags tags);

    const std::wstring& type() const { return mType; }
    const RawTags& tags() const { return mTags; }
    void hostSetTags(RawTags tags) { mTags = std::move(tags); }
    const ACHAR* dxfTypeName() const override { return mType.c_str(); }
    AcRxObject* clone() const override { return new UnmodelledObject(*this); }

private:
    UnmodelledObject(const UnmodelledObject& other) = default;
    std::wstring mType;
    RawTags mTags;
};

// The value of the first group with this code, or null.
const std::string* firstValue(const RawTags& tags, short code);

} // namespace arxhost
