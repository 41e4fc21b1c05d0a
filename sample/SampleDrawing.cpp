// Draws a road grid plan into a host database, with the road data the product family's libraries read.
#include "SampleDrawing.h"

#include <cmath>
#include <cstdio>

#include "CustomParameterStore.h"
#include "ExtendedDataLibrary.h"
#include "acutads.h"
#include "adscodes.h"
#include "dbapserv.h"
#include "dbents.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "text/Utf8.h"

namespace planroad::sample {

namespace {

// Extended data group codes: application name, text, 16-bit integer.
constexpr int kAppName = 1001;
constexpr int kText = 1000;
constexpr int kShort = 1070;

AcGePoint3d at(Point2 p)
{
    return AcGePoint3d(p.x, p.y, 0);
}

std::wstring formatNumber(const wchar_t* format, double value)
{
    wchar_t text[48];
    std::swprintf(text, std::size(text), format, value);
    return text;
}

class Builder {
public:
    explicit Builder(AcDbDatabase& db)
        : mDb(db)
    {
        acdbHostApplicationServices()->setWorkingDatabase(&db);
        acdbOpenObject(mSpace, db.modelSpaceId(), AcDb::kForWrite);
    }
    ~Builder() { closeSpace(); }
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;

    void closeSpace()
    {
        if (mSpace != nullptr)
            mSpace->close();
        mSpace = nullptr;
    }
    void reopenSpace() { acdbOpenObject(mSpace, mDb.modelSpaceId(), AcDb::kForWrite); }

    void layer(const wchar_t* name, Adesk::UInt16 colour)
    {
        AcDbLayerTable* table = nullptr;
        if (mDb.getLayerTable(table, AcDb::kForWrite) != Acad::eOk)
            return;
        if (!table->has(name)) {
            auto* record = new AcDbLayerTableRecord();
            record->setName(name);
            AcCmColor color;
            color.setColorIndex(colour);
            record->setColor(color);
            table->add(record);
            record->close();
        }
        table->close();
    }

    // Appends the entity on `layer` with the application data given as a result-buffer list (taken).
    AcDbObjectId add(AcDbEntity* entity, const wchar_t* layer, resbuf* xdata = nullptr)
    {
        entity->setLayer(layer);
        if (xdata != nullptr) {
            entity->setXData(xdata);
            acutRelRb(xdata);
        }
        AcDbObjectId id;
        mSpace->appendAcDbEntity(id, entity);
        entity->close();
        return id;
    }

private:
    AcDbDatabase& mDb;
    AcDbBlockTableRecord* mSpace = nullptr;
};

// The road data goes through the extended data library, as the road tools write it; the entity must
// be closed for that, so it is added to an entity after it is in the drawing.
void markCentreline(AcDbObjectId id, const Road& road)
{
    ARX_DATA::CFSimpleXData::SetTo(id, L"FAPP_DLZX", L"道路中线");
    if (road.widthSource == WidthSource::WidthField)
        ARX_DATA::CFGisXData::SetTo(id, L"FD_WIDTH", formatNumber(L"%g", road.width).c_str(), L"道路宽度");
    const std::wstring& section
        = road.widthSource == WidthSource::PlainSection ? road.plainSection : road.codedSection;
    ARX_DATA::CFGisXData::SetTo(id, L"FS_DLDM", section.c_str(), L"道路断面");
    if (road.widthSource == WidthSource::WidthField)
        ARX_DATA::CFGisXData::SetTo(id, L"FS_DLBK", road.panels.c_str(), L"道路板块");
    ARX_DATA::CFGisXData::SetTo(id, L"FS_DLMC", road.name.c_str(), L"道路名称");
}

resbuf* cornerData(const wchar_t* app, int type)
{
    return acutBuildList(kAppName, app, kShort, type, RTNONE);
}

void storeParameters()
{
    TarnDB::CCustomDatabase* store = TarnDB::qvGetQvCustomDatabase();
    auto layerParam = [&](const wchar_t* key, const wchar_t* layer, int colour) {
        LAYERPARAM param;
        param.strName = layer;
        param.nColor = colour;
        TarnDB::qvSetLayerParam(key, param, store);
    };
    layerParam(L"道路中线层", names::kCentreLayer, 1);
    layerParam(L"道路红线层", names::kRedLayer, 1);
    layerParam(L"道路边线层", names::kSideLayer, 7);
    layerParam(L"行车道线层", names::kSideLayer, 7);
    layerParam(L"人行道线层", names::kRedLayer, 1);
    layerParam(L"规划高程点层", names::kPlannedPointLayer, 2);
    layerParam(L"现状高程点层", names::kExistingPointLayer, 8);
    layerParam(L"道路图例标注层", names::kAnnotationLayer, 3);

    LAYERPARAM2013EX annotation;
    annotation.strName = names::kAnnotationLayer;
    annotation.nColor = 3;
    annotation.strTextStyle = names::kTextStyle;
    annotation.dTextHeight = 3.0;
    TarnDB::qvSetLayerParam(L"FL_BZ_DLQXYS", annotation, 1, 1, 1, store);

    TEXTPARAM text;
    text.dHeight = 3.0;
    text.strTextStyle = names::kTextStyle;
    text.strLayer = names::kAnnotationLayer;
    store->SetTextCustomParam(L"道路圆角半径标注字符", &text);
    store->SetTextCustomParam(L"道路曲线要素标注", &text);

    OTHERPARAM scale;
    scale.strValue = L"1000";
    scale.nCode1 = 5001;
    store->SetOtherCustomParam(L"绘图比例", &scale);
    OTHERPARAM standard;
    standard.strValue = L"国标";
    standard.nCode1 = 5005;
    store->SetOtherCustomParam(L"规划标准", &standard);
}

} // namespace

SampleDrawing buildSampleDrawing(const Plan& plan)
{
    SampleDrawing result;
    result.database = std::make_unique<AcDbDatabase>();
    AcDbDatabase& db = *result.database;
    Builder builder(db);
    builder.layer(names::kCentreLayer, 1);
    builder.layer(names::kRedLayer, 1);
    builder.layer(names::kSideLayer, 7);
    builder.layer(names::kAnnotationLayer, 3);
    builder.layer(names::kRangeLayer, 6);
    builder.layer(names::kPlannedPointLayer, 2);
    builder.layer(names::kExistingPointLayer, 8);
    for (const wchar_t* app :
        {L"FAPP_DLZX", L"FAPP_DLBX", L"FAPP_DLYQJ", L"DLYQJ_XDATA", L"FAPP_GHFWX", L"FD_VIEW"})
        acdbRegApp(app);
    builder.closeSpace();
    storeParameters();
    TarnDB::qvCreateTextStyle(names::kTextStyle);
    builder.reopenSpace();

    // Centrelines: one polyline through all crossings, or one line per stretch.
    std::vector<std::pair<AcDbObjectId, const Road*>> centrelines;
    for (const Road& road : plan.roads) {
        std::vector<double> stations {road.from};
        stations.insert(stations.end(), road.crossings.begin(), road.crossings.end());
        stations.push_back(road.to);
        auto point = [&](double s) {
            return road.vertical ? Point2 {road.offset, s} : Point2 {s, road.offset};
        };
        if (road.segmented) {
            for (std::size_t i = 0; i + 1 < stations.size(); ++i)
                centrelines.emplace_back(
                    builder.add(new AcDbLine(at(point(stations[i])), at(point(stations[i + 1]))),
                        names::kCentreLayer),
                    &road);
        } else {
            auto* pline = new AcDbPolyline();
            for (std::size_t i = 0; i < stations.size(); ++i) {
                const Point2 p = point(stations[i]);
                pline->addVertexAt(static_cast<unsigned>(i), AcGePoint2d(p.x, p.y));
            }
            centrelines.emplace_back(builder.add(pline, names::kCentreLayer), &road);
        }
    }

    auto lineOrPolyline = [](const LineSegment& segment) -> AcDbEntity* {
        if (!segment.asPolyline)
            return new AcDbLine(at(segment.start), at(segment.end));
        auto* pline = new AcDbPolyline();
        pline->addVertexAt(0, AcGePoint2d(segment.start.x, segment.start.y));
        pline->addVertexAt(1, AcGePoint2d(segment.end.x, segment.end.y));
        return pline;
    };
    auto sideData
        = [](const wchar_t* role) { return acutBuildList(kAppName, L"FAPP_DLBX", kText, role, RTNONE); };
    for (const LineSegment& red : plan.redLines)
        builder.add(lineOrPolyline(red), names::kRedLayer, sideData(L"道路红线"));
    for (const LineSegment& curb : plan.curbLines)
        builder.add(lineOrPolyline(curb), names::kSideLayer, sideData(L"车行道线"));
    for (const CurbCorner& corner : plan.curbCorners) {
        const ArcPiece& a = corner.arc;
        builder.add(new AcDbArc(AcGePoint3d(a.centre.x, a.centre.y, 0), a.radius, a.startAngle, a.endAngle),
            names::kSideLayer, cornerData(L"FAPP_DLYQJ", 1));
    }

    // Red-line corners, every tenth with the older application name.
    std::vector<std::pair<AcDbObjectId, const RedCorner*>> corners;
    std::size_t ordinal = 0;
    for (const RedCorner& corner : plan.corners) {
        const wchar_t* app = ordinal++ % 10 == 9 ? L"DLYQJ_XDATA" : L"FAPP_DLYQJ";
        AcDbEntity* entity = nullptr;
        if (corner.rounded) {
            const ArcPiece& a = corner.arc;
            entity = new AcDbArc(AcGePoint3d(a.centre.x, a.centre.y, 0), a.radius, a.startAngle, a.endAngle);
        } else {
            entity = lineOrPolyline(corner.cut);
        }
        corners.emplace_back(
            builder.add(entity, names::kRedLayer, cornerData(app, corner.rounded ? 1 : 2)), &corner);
    }

    // The planning range line.
    {
        auto* range = new AcDbPolyline();
        for (std::size_t i = 0; i < plan.rangeLine.size(); ++i)
            range->addVertexAt(
                static_cast<unsigned>(i), AcGePoint2d(plan.rangeLine[i].x, plan.rangeLine[i].y));
        range->setClosed(true);
        builder.add(
            range, names::kRangeLayer, acutBuildList(kAppName, L"FAPP_GHFWX", kText, L"规划范围线", RTNONE));
    }

    // Elevation points.
    for (const ElevationPoint& p : plan.plannedPoints)
        builder.add(new AcDbPoint(AcGePoint3d(p.x, p.y, p.z)), names::kPlannedPointLayer);
    for (const ElevationPoint& p : plan.existingPoints)
        builder.add(new AcDbPoint(AcGePoint3d(p.x, p.y, p.z)), names::kExistingPointLayer);
    builder.closeSpace();

    // What needs the entities closed: the road data, recorded values and the annotation texts.
    for (const auto& [id, road] : centrelines)
        markCentreline(id, *road);
    TEXTPARAM text;
    TarnDB::qvGetTextParam(L"道路圆角半径标注字符", text);
    for (const auto& [id, corner] : corners) {
        if (corner->recordedValue)
            ARX_DATA::CFGisXData::SetTo(id, L"FD_VIEW", corner->recordedValue->c_str(), L"切距边长");
        if (!corner->annotation.empty()) {
            // Centred on its base line: the base point lies half a height below the wanted middle.
            const double angle = corner->annotationAngle;
            const AcGePoint3d base(corner->annotationAt.x + std::sin(angle) * text.dHeight / 2,
                corner->annotationAt.y - std::cos(angle) * text.dHeight / 2, 0);
            AcDbObjectId textId;
            TarnDB::qvCreateTextEx(base, corner->annotation.c_str(), angle, 1, 1, text, textId);
        }
        ExpectedCorner expected;
        AcDbHandle handle = id.handle();
        ACHAR buffer[40];
        handle.getIntoAsciiBuffer(buffer);
        expected.handle = buffer;
        expected.outcome = corner->outcome;
        expected.rounded = corner->rounded;
        expected.value = corner->value;
        expected.standard = corner->standard;
        expected.annotation = corner->annotation;
        expected.recordedValue = corner->recordedValue.value_or(L"");
        expected.insideRange = corner->insideRange;
        result.corners.push_back(expected);
    }
    return result;
}

void writeExpectedCorners(const std::vector<ExpectedCorner>& corners, std::ostream& out)
{
    out << "handle,outcome,kind,value,standard,annotation,recorded,inside_range\n";
    char number[64];
    for (const ExpectedCorner& c : corners) {
        out << arxhost::toUtf8(c.handle) << ',' << static_cast<int>(c.outcome) << ','
            << (c.rounded ? "arc" : "cut") << ',';
        std::snprintf(number, sizeof number, "%.2f,%.1f,", c.value, c.standard);
        out << number << arxhost::toUtf8(c.annotation) << ',' << arxhost::toUtf8(c.recordedValue) << ','
            << (c.insideRange ? 1 : 0) << '\n';
    }
}

} // namespace planroad::sample
