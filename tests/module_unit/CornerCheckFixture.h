// A drawing set up for the corner-cut annotation check: road layers and the annotation layer in the
// parameter store, an intersection standards file of the test's own, and helpers that draw block corners
// (red lines, cut, centrelines with widths), annotations and range lines, run the two check commands and
// read back their rows, marks and view.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CustomParameterStore.h"
#include "DrawingToolkit.h"
#include "ExtendedDataLibrary.h"
#include "ModuleDrawingFixture.h"
#include "PipeBaseLibrary.h"
#include "cornercheck/YQJCheckDlg.h"
#include "cornercheck/YQJDimCheckDlg.h"

namespace planroad::test {

// Road classes by lowest width, and the standard cut of each pair of classes. The values differ from the
// shipped standard, so that a test sees which file was read.
inline const char* const kCornerStandards = "[道路等级]\n"
                                            "主干路=40\n"
                                            "次干路=24\n"
                                            "支路=12\n"
                                            "[切角标准]\n"
                                            "主干路-主干路=20\n"
                                            "主干路-次干路=15\n"
                                            "次干路-次干路=12.5\n"
                                            "主干路-支路=10\n"
                                            "次干路-支路=7.5\n"
                                            "支路-支路=5\n";

// How a corner is drawn. The red lines leave the corner point along +x and +y; the cut runs from the x
// red line (its start) to the y red line (its end); each road's centreline lies 10 outside its red line.
struct CornerShape {
    double cutX = 15.0; // where the cut meets the x red line, from the corner point
    double cutY = 15.0; // where it meets the y red line
    double widthX = 40.0; // FD_WIDTH of the road along x
    double widthY = 24.0; // of the road along y
    bool arc = false; // a quarter arc of radius cutX tangent to both red lines (it starts on the y one)
    const wchar_t* app = L"FAPP_DLYQJ";
    bool roads = true; // draw the two centrelines
};

struct Corner {
    AcGePoint3d point; // where the red lines meet
    AcGePoint3d start; // the cut's ends
    AcGePoint3d end;
    AcDbObjectId cut;
    AcDbObjectId redX;
    AcDbObjectId redY;
    AcDbObjectId roadX;
    AcDbObjectId roadY;
    // Where an annotation belongs: between the cut and the middles of the red lines, at the fourth corner
    // of the parallelogram on the corner point and the cut's ends.
    AcGePoint3d annotationPlace() const { return start + (end - point); }
    // The middle of the cut's chord.
    AcGePoint3d chordMiddle() const { return start + (end - start) / 2.0; }
};

class CornerCheckFixture : public ModuleDrawingFixture {
protected:
    static constexpr double kRedLength = 60.0;
    static constexpr const wchar_t* kErrorLayer = L"FL_ERROR_切角标注检测";

    void SetUp() override
    {
        ModuleDrawingFixture::SetUp();
        for (const wchar_t* layer : {L"RED", L"CL", L"BZ", L"OTHER"})
            addLayer(layer);
        setRole(L"道路红线层", L"RED");
        setRole(L"道路中线层", L"CL");
        setRole(L"FL_BZ_DLQXYS", L"BZ");
        if (mWriteStandards)
            writeConfigFile(std::filesystem::path("standards") / "国标" / "参数配置" / "道路交叉口参数.ini",
                kCornerStandards);
    }
    // Writes a file below the configuration root (UTF-8).
    void writeConfigFile(const std::filesystem::path& relative, const std::string& text)
    {
        const std::filesystem::path file = mDataDir / "config" / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    // Names the drawing's planning standard.
    static void setStandardName(const wchar_t* name)
    {
        OTHERPARAM param;
        param.strValue = name;
        TarnDB::qvGetCustomDatabase()->SetOtherCustomParam(L"规划标准", &param);
    }

    AcDbObjectId lineOn(const wchar_t* layer, const AcGePoint3d& a, const AcGePoint3d& b)
    {
        auto* line = new AcDbLine(a, b);
        line->setLayer(layer);
        return add(line);
    }
    // A lightweight polyline through the points (bulges 0).
    AcDbObjectId polylineOn(const wchar_t* layer, const std::vector<AcGePoint2d>& points, bool closed = false)
    {
        auto* pline = new AcDbPolyline();
        for (std::size_t i = 0; i < points.size(); ++i)
            pline->addVertexAt(static_cast<unsigned>(i), points[i]);
        pline->setClosed(closed);
        pline->setLayer(layer);
        return add(pline);
    }
    // A closed planning range line (FAPP_GHFWX) around the box.
    AcDbObjectId rangeLine(double x1, double y1, double x2, double y2, const wchar_t* layer = L"0")
    {
        const AcDbObjectId id = polylineOn(layer, {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}, true);
        ARX_DATA::CFSimpleXData::SetTo(id, L"FAPP_GHFWX", L"规划范围线");
        return id;
    }
    // A road centreline with its width field.
    AcDbObjectId road(const AcGePoint3d& a, const AcGePoint3d& b, double width)
    {
        const AcDbObjectId id = lineOn(L"CL", a, b);
        ARX_DATA::CFSimpleXData::SetTo(id, L"FAPP_DLZX", L"道路中线");
        CString text;
        text.Format(L"%g", width);
        ARX_DATA::CFGisXData::SetTo(id, L"FD_WIDTH", text, L"道路宽度");
        return id;
    }
    // Marks an entity as a corner curve of the type (1 rounded, 2 straight cut) under the application.
    static void markCorner(AcDbObjectId id, int type, const wchar_t* app = L"FAPP_DLYQJ")
    {
        resbuf* data = acutBuildList(1070, static_cast<short>(type), RTNONE);
        tarn::dat::AddObjXdata(id, app, data);
        acutRelRb(data);
    }
    static void recordValue(AcDbObjectId cut, const wchar_t* value)
    {
        ARX_DATA::CFGisXData::SetTo(cut, L"FD_VIEW", value, L"切距边长");
    }

    // A corner at `at`: the two red lines, the cut, then the two centrelines (drawing order).
    Corner corner(const AcGePoint2d& at, const CornerShape& shape = {})
    {
        Corner c;
        c.point = AcGePoint3d(at.x, at.y, 0);
        c.redX = lineOn(
            L"RED", c.point + AcGeVector3d(shape.cutX, 0, 0), c.point + AcGeVector3d(kRedLength, 0, 0));
        c.redY = lineOn(
            L"RED", c.point + AcGeVector3d(0, shape.cutY, 0), c.point + AcGeVector3d(0, kRedLength, 0));
        if (shape.arc) {
            const double r = shape.cutX;
            auto* arc = new AcDbArc(c.point + AcGeVector3d(r, r, 0), r, kPiValue, 1.5 * kPiValue);
            arc->setLayer(L"RED");
            c.cut = add(arc);
            markCorner(c.cut, 1, shape.app);
            c.start = c.point + AcGeVector3d(0, r, 0);
            c.end = c.point + AcGeVector3d(r, 0, 0);
        } else {
            c.start = c.point + AcGeVector3d(shape.cutX, 0, 0);
            c.end = c.point + AcGeVector3d(0, shape.cutY, 0);
            c.cut = polylineOn(L"RED", {AcGePoint2d(c.start.x, c.start.y), AcGePoint2d(c.end.x, c.end.y)});
            markCorner(c.cut, 2, shape.app);
        }
        if (shape.roads) {
            c.roadX
                = road(c.point + AcGeVector3d(-80, -10, 0), c.point + AcGeVector3d(80, -10, 0), shape.widthX);
            c.roadY
                = road(c.point + AcGeVector3d(-10, -80, 0), c.point + AcGeVector3d(-10, 80, 0), shape.widthY);
        }
        return c;
    }

    // A text of height 2 whose middle is `middle`, on the layer (the annotation layer by default).
    AcDbObjectId annotate(const wchar_t* text, const AcGePoint3d& middle, const wchar_t* layer = L"BZ")
    {
        TEXTPARAM param;
        param.dHeight = 2.0;
        param.strTextStyle = L"Standard";
        param.strLayer = layer;
        AcDbObjectId id;
        EXPECT_EQ(1, TarnDB::qvCreateTextEx(middle, text, 0.0, AcDb::kTextMid, AcDb::kTextBase, param, id));
        return id;
    }
    AcDbObjectId annotate(const wchar_t* text, const Corner& c, const wchar_t* layer = L"BZ")
    {
        return annotate(text, c.annotationPlace(), layer);
    }

    // The full check over every corner cut of the drawing, through the selection of cuts.
    void check(const std::wstring& afterCommand = L"S\nALL\n\n")
    {
        type(L"FDeal_RoadYqjCheck\n" + afterCommand);
    }
    void dimensionCheck(const std::wstring& afterCommand = L"S\nALL\n\n")
    {
        type(L"FDeal_RoadYqjDimCheck\n" + afterCommand);
    }

    // The row of the corner cut in the dialog's rows (all or errors), null when it has none.
    static const SYQJINFO* rowOf(const CArray<SYQJINFO, SYQJINFO>& rows, AcDbObjectId cut)
    {
        for (int i = 0; i < rows.GetSize(); ++i)
            if (rows[i].idYqj == cut)
                return &rows[i];
        return nullptr;
    }
    static int rowsOf(const CArray<SYQJINFO, SYQJINFO>& rows, AcDbObjectId cut)
    {
        int count = 0;
        for (int i = 0; i < rows.GetSize(); ++i)
            if (rows[i].idYqj == cut)
                ++count;
        return count;
    }

    // Every live entity of model space on the layer, in drawing order.
    std::vector<AcDbObjectId> entitiesOn(const wchar_t* layer)
    {
        std::vector<AcDbObjectId> ids;
        AcDbBlockTableRecord* space = nullptr;
        if (acdbOpenObject(space, db().modelSpaceId(), AcDb::kForRead) != Acad::eOk)
            return ids;
        AcDbBlockTableRecordIterator* it = nullptr;
        space->newIterator(it);
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            it->getEntityId(id);
            if (tarn::ent::GetEntLayerName(id).CompareNoCase(layer) == 0)
                ids.push_back(id);
        }
        delete it;
        space->close();
        return ids;
    }
    static int colourOf(AcDbObjectId id)
    {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk)
            return -1;
        const int colour = entity->colorIndex();
        entity->close();
        return colour;
    }
    static std::wstring textOf(AcDbObjectId id) { return GetTextValue(id).GetString(); }

    static constexpr double kPiValue = 3.14159265358979323846;
    bool mWriteStandards = true;
};

} // namespace planroad::test
