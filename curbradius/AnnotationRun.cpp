// The annotation run of the curb-return radius dialog: the settings it reads, the selection, the loop
// over the selected road lines and corner curves, and what it restores on every way out.
#include "StdAfx.h"

#include <memory>

#include "DlyjbjbzDlg.h"

#include "AnnotationLayer.h"
#include "CustomParameterStore.h"
#include "DrawingToolkit.h"
#include "RoadBaseLibrary.h"

namespace {

const ACHAR* const kLayerParamKey = _T("FL_BZ_DLQXYS");
const ACHAR* const kTextParamKey = _T("道路圆角半径标注字符");
const ACHAR* const kLinkKey = _T("道路圆角标注");

// The dimension style of that name (case ignored, the first in table order); null when there is none.
AcDbObjectId FindDimStyle(AcDbDatabase* db, const CString& name)
{
    AcDbObjectId found;
    AcDbDimStyleTable* table = nullptr;
    if (db->getDimStyleTable(table, AcDb::kForRead) != Acad::eOk)
        return found;
    AcDbDimStyleTableIterator* iterator = nullptr;
    if (table->newIterator(iterator) == Acad::eOk) {
        for (iterator->start(); !iterator->done() && found.isNull(); iterator->step()) {
            AcDbDimStyleTableRecord* record = nullptr;
            if (iterator->getRecord(record, AcDb::kForRead) != Acad::eOk)
                continue;
            const ACHAR* recordName = nullptr;
            record->getName(recordName);
            if (recordName != nullptr && name.CompareNoCase(recordName) == 0)
                found = record->objectId();
            record->close();
        }
        delete iterator;
    }
    table->close();
    return found;
}

// Makes "ISO-25" the current dimension style for the run (keeping DIMLFAC and DIMSCALE as they were) and
// puts the former style back when the run ends, however it ends.
class CIsoDimStyleSwitch {
public:
    CIsoDimStyleSwitch(AcDbDatabase* db, double dimlfac, double dimscale)
        : m_db(db)
        , m_previous(db->dimstyle())
        , m_iso(FindDimStyle(db, _T("ISO-25")))
        , m_dimlfac(dimlfac)
        , m_dimscale(dimscale)
    {
        if (!m_iso.isNull() && m_iso != m_previous) {
            m_db->setDimstyle(m_iso);
            m_db->setDimstyleData(m_iso);
            RestoreScales();
        }
    }
    ~CIsoDimStyleSwitch()
    {
        if (m_previous == m_iso)
            return;
        m_db->setDimstyle(m_previous);
        m_db->setDimstyleData(m_previous);
        RestoreScales();
    }
    CIsoDimStyleSwitch(const CIsoDimStyleSwitch&) = delete;
    CIsoDimStyleSwitch& operator=(const CIsoDimStyleSwitch&) = delete;

private:
    void RestoreScales() const
    {
        tarn::cad::SetSysVar(_T("dimlfac"), m_dimlfac);
        tarn::cad::SetSysVar(_T("DimScale"), m_dimscale);
    }
    AcDbDatabase* m_db;
    AcDbObjectId m_previous;
    AcDbObjectId m_iso;
    double m_dimlfac;
    double m_dimscale;
};

// Sets system variables for the run from pairs of name and value, restoring them when it goes.
class CRunSysVar {
public:
    CRunSysVar(const ACHAR* name, const CString& value)
    {
        resbuf* pairs = acutBuildList(RTSTR, name, RTSTR, value.GetString(), RTNONE);
        m_var = std::make_unique<tarn::CSysVar>(pairs);
        acutRelRb(pairs);
    }
    CRunSysVar(const ACHAR* name, short value)
    {
        resbuf* pairs = acutBuildList(RTSTR, name, RTSHORT, value, RTNONE);
        m_var = std::make_unique<tarn::CSysVar>(pairs);
        acutRelRb(pairs);
    }

private:
    std::unique_ptr<tarn::CSysVar> m_var;
};

// The progress meter of the run, shown for more than ten entities and taken down at the end.
class CRunMeter {
public:
    void Show(int count)
    {
        if (count > 10 && !m_shown) {
            acedSetStatusBarProgressMeter(_T("正在标注...."), 0, count - 1);
            m_shown = true;
        }
    }
    void Move(int position) const
    {
        if (m_shown)
            acedSetStatusBarProgressMeterPos(position);
    }
    ~CRunMeter()
    {
        if (m_shown)
            acedRestoreStatusBar();
    }

private:
    bool m_shown = false;
};

// DIMDSEP "." while the leader run draws, its former value afterwards.
class CDecimalSeparator {
public:
    CDecimalSeparator()
    {
        m_saved = tarn::cad::GetSysVar(_T("DIMDSEP"), m_previous) == Acad::eOk;
        tarn::cad::SetSysVar(_T("DIMDSEP"), CString(_T(".")));
    }
    ~CDecimalSeparator()
    {
        if (m_saved)
            tarn::cad::SetSysVar(_T("DIMDSEP"), m_previous);
    }
    CDecimalSeparator(const CDecimalSeparator&) = delete;
    CDecimalSeparator& operator=(const CDecimalSeparator&) = delete;

private:
    CString m_previous;
    bool m_saved = false;
};

// The text style the leader run's dimensions use: the annotation text's own, else the first of the
// usual annotation styles the drawing has.
AcDbObjectId DimensionTextStyle(const TEXTPARAM& textParam)
{
    for (const CString& name : {textParam.strTextStyle, CString(_T("汉字标注")), CString(_T("坐标标注"))}) {
        const AcDbObjectId id = tarn::ent::GetTextStyle(name);
        if (tarn::ent::FIsValidId(id))
            return id;
    }
    return tarn::ent::GetTextStyle(_T("Standard"));
}

} // namespace

void CDlyjbjbzDlg::OnAnnotate()
{
    UpdateData(TRUE);
    m_run = SRunState {};
    LAYERPARAM2013EX layerParam;
    if (TarnDB::qvGetLayerParam(kLayerParamKey, layerParam, 0, 1, 1, nullptr))
        m_run.annotationLayer.Format(_T("%s"), layerParam.strName.GetString());
    SetAnnotCategory(_T("RAD"));

    m_nDrawLeader = IsChecked(IDC_DLYJ_LEADER) ? 1 : 0;
    m_run.annotateCurb = IsChecked(IDC_DLYJ_CURB);
    m_run.annotateRedLine = IsChecked(IDC_DLYJ_RED_LINE);
    m_run.annotateCentreline = IsChecked(IDC_DLYJ_CENTRELINE);

    // The dialog ends here; what follows talks to the user on the command line.
    SaveSettings();
    CDialog::OnOK();

    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (db == nullptr)
        return;
    double dimscale = 1.0;
    tarn::cad::GetSysVar(_T("dimlfac"), m_run.dimlfac);
    tarn::cad::GetSysVar(_T("DimScale"), dimscale);
    const CIsoDimStyleSwitch isoStyle(db, m_run.dimlfac, dimscale);

    ReadRoleLayers();
    // cppcheck-suppress unreadVariable ; a guard, alive for the run
    const CRunSysVar currentLayer(_T("CLayer"), m_run.annotationLayer);
    m_run.cutLengthMode = GetCutLengthMode();

    acutPrintf(_T("\n请选择要标注的圆弧实体:"));
    resbuf* filter = acutBuildList(-4, _T("<AND"), -4, _T("<OR"), RTDXF0, _T("ARC"), RTDXF0, _T("LWPOLYLINE"),
        RTDXF0, _T("POLYLINE"), -4, _T("OR>"), -4, _T("AND>"), RTNONE);
    AcDbObjectIdArray ids;
    {
        // cppcheck-suppress unreadVariable ; a guard, alive while the user selects and the run draws
        const CRunSysVar pickStyle(_T("pickstyle"), short {0});
        ads_name ss = {0, 0};
        const int status = acedSSGet(nullptr, nullptr, nullptr, filter, ss);
        acutRelRb(filter);
        if (status != RTNORM)
            return;
        tarn::ent::SSToIds(ss, ids);
        acedSSFree(ss);
        AnnotateSelection(ids, m_nDrawLeader == 1);
    }
}

void CDlyjbjbzDlg::AnnotateSelection(const AcDbObjectIdArray& ids, bool leaderRun)
{
    const int count = ids.length();
    CRunMeter meter;
    std::unique_ptr<CDecimalSeparator> separator;
    TEXTPARAM leaderText;
    AcDbObjectId dimTextStyle;
    if (leaderRun)
        separator = std::make_unique<CDecimalSeparator>();
    meter.Show(count);
    if (leaderRun) {
        TarnDB::qvGetTextParam(kTextParamKey, leaderText);
        dimTextStyle = DimensionTextStyle(leaderText);
    }

    for (int i = 0; i < count; ++i) {
        const AcDbObjectId entity = ids[i];
        meter.Move(leaderRun ? i + 5 : i);
        if (acedUsrBrk())
            break;
        int cornerType = 0;
        if (!IsEntityWanted(entity, cornerType))
            continue;
        const CString layer = GetAnnotationLayer(entity);
        AcGePoint3dArray points;
        AcGeDoubleArray bulges;
        if (!tarn::ent::GetCurveParam(entity, &points, &bulges) || points.length() < 2)
            continue;

        // A second run replaces what the first drew for the entity.
        AcDbObjectIdArray earlier;
        if (tarn::dat::GetSoftIds(entity, kLinkKey, earlier) && earlier.length() >= 1)
            tarn::ent::Erase(earlier);

        FRoadArcArray arcs;
        if (!CollectArcs(entity, arcs))
            continue;
        if (cornerType > 0 && points.length() > 2)
            continue;
        if (leaderRun) {
            AnnotateArcsAsDimensions(entity, arcs, points, leaderText, dimTextStyle, layer);
        } else {
            TEXTPARAM textParam;
            TarnDB::qvGetTextParam(kTextParamKey, textParam);
            AnnotateArcsAsTexts(entity, arcs, cornerType, count == 1, textParam, layer);
        }
        if (cornerType == 2)
            AnnotateStdCut(entity, layer, leaderRun);
    }
}
