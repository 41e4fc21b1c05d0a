// A drawing set up for the curb-return radius annotation: role layers configured in the parameter store,
// an annotation layer option that puts labels on "<entity layer>-BZ", and helpers that draw corner
// curves, run "QVDLYJBJBZ" from a script and read back the labels linked from an entity.
#pragma once

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "CustomParameterStore.h"
#include "DrawingToolkit.h"
#include "ExtendedDataLibrary.h"
#include "ModuleDrawingFixture.h"

namespace planroad::test {

constexpr double kPi = 3.14159265358979323846;

inline double degrees(double radians)
{
    return radians * 180.0 / kPi;
}
inline double radians(double deg)
{
    return deg * kPi / 180.0;
}

// What a label linked from an entity shows.
struct LabelSeen {
    std::wstring text; // a text's string; a dimension's DIMPOST
    AcGePoint3d at; // a text's alignment point; a dimension's chord point
    double rotation = 0.0; // a text's rotation in degrees, in [0, 360)
    std::wstring layer;
    bool tagged = false; // carries the annotation's extended data
    bool dimension = false;
    int dimdec = -1;
    double dimtxt = 0.0;
    double dimscale = 0.0;
    AcDbObjectId dimStyle;
};

class CurbRadiusFixture : public ModuleDrawingFixture {
protected:
    void SetUp() override
    {
        ModuleDrawingFixture::SetUp();
        for (const wchar_t* layer : {L"CURB", L"RED", L"CL", L"BZ"})
            addLayer(layer);
        if (mConfigureRoles) {
            setRole(L"行车道线层", L"CURB");
            setRole(L"人行道线层", L"RED");
            setRole(L"道路中线层", L"CL");
        }
        if (mConfigureAnnotationLayer) {
            LAYERPARAM2013EX annotation;
            annotation.strName = L"BZ";
            annotation.strTextStyle = L"Standard";
            annotation.dTextHeight = 2.0;
            TarnDB::qvSetLayerParam(L"FL_BZ_DLQXYS", annotation, 1, 1, 1, nullptr);
        }
        TEXTPARAM text;
        text.dHeight = mTextParamHeight;
        text.strTextStyle = L"Standard";
        TarnDB::qvGetQvCustomDatabase()->SetTextCustomParam(L"道路圆角半径标注字符", &text);
        // Labels go to the entity's layer with "-BZ".
        OTHERPARAM option;
        option.strValue = L"3";
        option.nCode1 = 5001;
        TarnDB::qvGetCustomDatabase()->SetOtherCustomParam(L"面向实体标注图层选项", &option);
    }
    // Marks an entity as a corner curve of the type (1 rounded, 2 straight cut).
    static void markCorner(AcDbObjectId id, int type)
    {
        resbuf* data = acutBuildList(1070, static_cast<short>(type), RTNONE);
        tarn::dat::AddObjXdata(id, L"FAPP_DLYQJ", data);
        acutRelRb(data);
    }
    // Marks an entity as a road side line.
    static void markSideLine(AcDbObjectId id)
    {
        resbuf* data = acutBuildList(1000, L"车行道线", RTNONE);
        tarn::dat::AddObjXdata(id, L"FAPP_DLBX", data);
        acutRelRb(data);
    }

    // A rounded corner: an arc (angles in degrees, counter-clockwise from start to end) on the layer.
    AcDbObjectId cornerArc(
        const wchar_t* layer, AcGePoint3d centre, double radius, double startDeg, double endDeg, int type = 1)
    {
        auto* arc = new AcDbArc(centre, radius, radians(startDeg), radians(endDeg));
        arc->setLayer(layer);
        const AcDbObjectId id = add(arc);
        markCorner(id, type);
        return id;
    }
    // A lightweight polyline through the points with the bulges (one per vertex).
    AcDbObjectId polyline(const wchar_t* layer, const std::vector<AcGePoint2d>& points,
        const std::vector<double>& bulges, bool closed = false)
    {
        auto* pline = new AcDbPolyline();
        for (std::size_t i = 0; i < points.size(); ++i)
            pline->addVertexAt(static_cast<unsigned>(i), points[i], i < bulges.size() ? bulges[i] : 0.0);
        pline->setClosed(closed);
        pline->setLayer(layer);
        return add(pline);
    }
    // A straight corner cut from a to b (a two-vertex polyline of type 2).
    AcDbObjectId cornerCut(const wchar_t* layer, AcGePoint2d a, AcGePoint2d b)
    {
        const AcDbObjectId id = polyline(layer, {a, b}, {0.0, 0.0});
        markCorner(id, 2);
        return id;
    }
    AcDbObjectId lineOn(const wchar_t* layer, AcGePoint3d a, AcGePoint3d b)
    {
        auto* line = new AcDbLine(a, b);
        line->setLayer(layer);
        return add(line);
    }

    // Runs the command: the dialog lines, the annotate button, then the selection and what follows.
    void annotate(const std::wstring& dialogLines, const std::wstring& afterSelection = L"ALL\n\n")
    {
        type(L"QVDLYJBJBZ\n" + dialogLines + L"!dialog click 204\n" + afterSelection);
    }
    void textRun(const std::wstring& dialogLines = L"", const std::wstring& afterSelection = L"ALL\n\n")
    {
        annotate(L"!dialog uncheck 222\n" + dialogLines, afterSelection);
    }

    // The labels linked from the entity, in link order.
    static std::vector<LabelSeen> labelsOf(AcDbObjectId entity)
    {
        std::vector<LabelSeen> labels;
        AcDbObjectIdArray ids;
        tarn::dat::GetSoftIds(entity, L"道路圆角标注", ids);
        for (int i = 0; i < ids.length(); ++i) {
            LabelSeen seen;
            CString tag;
            seen.tagged = ARX_DATA::CFSimpleXData::GetFrom(ids[i], L"FAPP_DLYQJBZ", tag) == 1
                && tag == CString(L"道路圆切角标注=");
            AcDbEntity* object = nullptr;
            if (acdbOpenObject(object, ids[i], AcDb::kForRead) != Acad::eOk)
                continue;
            ACHAR* layer = object->layer();
            seen.layer = layer;
            acutDelString(layer);
            if (auto* text = AcDbText::cast(object)) {
                seen.text = text->textStringConst();
                seen.at = text->alignmentPoint();
                seen.rotation = std::fmod(std::fmod(degrees(text->rotation()), 360.0) + 360.0, 360.0);
            } else if (auto* dim = AcDbRadialDimension::cast(object)) {
                seen.dimension = true;
                ACHAR* post = dim->dimpost();
                seen.text = post;
                acutDelString(post);
                seen.at = dim->chordPoint();
                seen.dimdec = dim->dimdec();
                seen.dimtxt = dim->dimtxt();
                seen.dimscale = dim->dimscale();
                seen.dimStyle = dim->dimensionStyle();
            }
            object->close();
            labels.push_back(seen);
        }
        return labels;
    }
    static std::vector<std::wstring> textsOf(AcDbObjectId entity)
    {
        std::vector<std::wstring> texts;
        for (const LabelSeen& label : labelsOf(entity))
            texts.push_back(label.text);
        return texts;
    }
    // Every text or dimension of the drawing carrying the annotation's extended data.
    int taggedLabelsInDrawing()
    {
        AcDbBlockTableRecord* space = nullptr;
        if (acdbOpenObject(space, db().modelSpaceId(), AcDb::kForRead) != Acad::eOk)
            return -1;
        AcDbBlockTableRecordIterator* it = nullptr;
        space->newIterator(it);
        int count = 0;
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            it->getEntityId(id);
            CString tag;
            if (ARX_DATA::CFSimpleXData::GetFrom(id, L"FAPP_DLYQJBZ", tag) == 1)
                ++count;
        }
        delete it;
        space->close();
        return count;
    }
    static std::wstring field(AcDbObjectId id, const wchar_t* app)
    {
        CString value;
        if (ARX_DATA::CFGisXData::GetFrom(id, app, value) != 1)
            return L"<none>";
        return value.GetString();
    }

    bool mConfigureRoles = true;
    bool mConfigureAnnotationLayer = true;
    double mTextParamHeight = 2.0;
};

} // namespace planroad::test
