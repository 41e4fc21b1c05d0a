// Helpers shared by the drawing toolkit's sources.
#include "toolkit/ToolkitSupport.h"

#include <cmath>
#include <cwchar>

#include "dbapserv.h"
#include "dbents.h"
#include "dbobjptr.h"
#include "dbpl.h"
#include "dbsymtb.h"

namespace tarn::support {

AcDbDatabase* workingDb()
{
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    return services == nullptr ? nullptr : services->workingDatabase();
}

CString escapeWildcards(const CString& text)
{
    static const wchar_t kSpecial[] = L"#@.*?~[]-,`";
    CString escaped;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t ch = text.GetAt(i);
        if (std::wcschr(kSpecial, ch) != nullptr)
            escaped += L'`';
        escaped += ch;
    }
    return escaped;
}

namespace {

// An old-style polyline copied vertex by vertex: a plain clone would share the source's vertex objects.
std::unique_ptr<AcDbEntity> copy2dPolyline(const AcDb2dPolyline& source)
{
    AcGePoint3dArray positions;
    AcGeDoubleArray bulges;
    std::unique_ptr<AcDbObjectIterator> vertices(source.vertexIterator());
    for (; vertices != nullptr && !vertices->done(); vertices->step()) {
        AcDb2dVertex* vertex = nullptr;
        if (source.openVertex(vertex, vertices->objectId(), AcDb::kForRead) != Acad::eOk)
            continue;
        positions.append(vertex->position());
        bulges.append(vertex->bulge());
        vertex->close();
    }
    auto copy = std::make_unique<AcDb2dPolyline>(source.polyType(), positions, source.elevation(),
        source.isClosed(), source.defaultStartWidth(), source.defaultEndWidth(), &bulges);
    copy->setNormal(source.normal());
    copy->setPropertiesFrom(source);
    if (resbuf* xdata = source.xData()) {
        copy->setXData(xdata);
        acutRelRb(xdata);
    }
    return copy;
}

} // namespace

std::unique_ptr<AcDbEntity> copyEntity(const AcDbEntity& source)
{
    if (const auto* polyline = AcDb2dPolyline::cast(&source))
        return copy2dPolyline(*polyline);
    std::unique_ptr<AcDbEntity> copy(AcDbEntity::cast(source.clone()));
    if (copy == nullptr)
        return nullptr;
    // A clone is the object's image, references included: the copy is a new object that no group
    // lists and that owns no extension dictionary yet.
    copy->hostSetPersistentReactors({});
    copy->hostSetExtensionDictionary(AcDbObjectId::kNull);
    return copy;
}

AcDbObjectId appendClosed(AcDbObjectId spaceId, std::unique_ptr<AcDbEntity> entity)
{
    AcDbObjectPointer<AcDbBlockTableRecord> space(spaceId, AcDb::kForWrite);
    if (space.openStatus() != Acad::eOk || entity == nullptr)
        return AcDbObjectId::kNull;
    AcDbObjectId id;
    if (space->appendAcDbEntity(id, entity.get()) != Acad::eOk)
        return AcDbObjectId::kNull;
    entity.release()->close();
    return id;
}

bool curveVertices(const AcDbEntity& entity, AcGePoint3dArray& points, AcGeDoubleArray& bulges)
{
    points.removeAll();
    bulges.removeAll();
    if (const auto* line = AcDbLine::cast(&entity)) {
        points.append(line->startPoint());
        points.append(line->endPoint());
        bulges.append(0.0);
        bulges.append(0.0);
        return true;
    }
    if (const auto* arc = AcDbArc::cast(&entity)) {
        AcGePoint3d start;
        AcGePoint3d end;
        arc->getStartPoint(start);
        arc->getEndPoint(end);
        points.append(start);
        points.append(end);
        bulges.append(std::tan(arc->totalAngle() / 4.0));
        bulges.append(0.0);
        return true;
    }
    if (const auto* polyline = AcDbPolyline::cast(&entity)) {
        for (unsigned int i = 0; i < polyline->numVerts(); ++i) {
            AcGePoint3d point;
            double bulge = 0.0;
            polyline->getPointAt(i, point);
            polyline->getBulgeAt(i, bulge);
            points.append(point);
            bulges.append(bulge);
        }
        return !points.isEmpty();
    }
    if (const auto* polyline = AcDb2dPolyline::cast(&entity)) {
        std::unique_ptr<AcDbObjectIterator> vertices(polyline->vertexIterator());
        for (; vertices != nullptr && !vertices->done(); vertices->step()) {
            AcDb2dVertex* vertex = nullptr;
            if (polyline->openVertex(vertex, vertices->objectId(), AcDb::kForRead) != Acad::eOk)
                continue;
            points.append(polyline->vertexPosition(*vertex));
            bulges.append(vertex->bulge());
            vertex->close();
        }
        return !points.isEmpty();
    }
    return false;
}

bool registerApp(AcDbDatabase* db, const CString& app)
{
    if (db == nullptr || app.IsEmpty())
        return false;
    AcDbRegAppTable* table = nullptr;
    if (db->getRegAppTable(table, AcDb::kForRead) != Acad::eOk)
        return false;
    if (table->has(app)) {
        table->close();
        return true;
    }
    bool registered = false;
    if (table->upgradeOpen() == Acad::eOk) {
        auto* record = new AcDbRegAppTableRecord();
        if (record->setName(app) == Acad::eOk && table->add(record) == Acad::eOk) {
            record->close();
            registered = true;
        } else {
            delete record;
        }
    }
    table->close();
    return registered;
}

} // namespace tarn::support
