// Helpers shared by the drawing toolkit's sources: the working drawing, result-buffer ownership, entity
// copies and curve vertices.
#pragma once

#include <memory>
#include <string>

#include "acutads.h"
#include "afx.h"
#include "dbid.h"
#include "dbmain.h"
#include "gedblar.h"
#include "gept3dar.h"

namespace tarn::support {

// The drawing the host works on; null outside a session.
AcDbDatabase* workingDb();

// Owns a result-buffer chain and releases it with acutRelRb.
struct ResbufDeleter {
    void operator()(resbuf* rb) const noexcept { acutRelRb(rb); }
};
using ResbufPtr = std::unique_ptr<resbuf, ResbufDeleter>;

// Text with every wildcard character of a selection filter escaped, so that it matches only itself.
CString escapeWildcards(const CString& text);

// A new entity, not in any drawing, with the geometry, properties and extended data of the source; none of
// its groups, reactors or extension dictionary. Old-style polylines get vertices of their own.
std::unique_ptr<AcDbEntity> copyEntity(const AcDbEntity& source);

// Appends the entity to the block table record and closes it; null (the entity deleted) on failure.
AcDbObjectId appendClosed(AcDbObjectId spaceId, std::unique_ptr<AcDbEntity> entity);

// Vertices (world coordinates) and bulges of a line, arc or polyline, as ent::GetCurveParam gives them.
bool curveVertices(const AcDbEntity& entity, AcGePoint3dArray& points, AcGeDoubleArray& bulges);

// Registers the application in the drawing unless it is there; false when that fails.
bool registerApp(AcDbDatabase* db, const CString& app);

} // namespace tarn::support
