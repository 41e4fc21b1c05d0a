// The curb-return radius annotation dialog of "QVDLYJBJBZ": its settings, the arc and corner geometry of
// the road lines it annotates, and the annotation run its button starts.
#pragma once

#include "StdAfx.h"

#include "CustomParameterStore.h"

class CDlyjbjbzDlg : public CAcUiDialog {
    DECLARE_DYNAMIC(CDlyjbjbzDlg)
public:
    enum { IDD = IDD_DLYJBJBZ };

    // One arc of a corner curve or road line, world coordinates: ptMid lies on the arc halfway in
    // parameter between its ends.
    struct FRoad_Arc {
        AcGePoint3d ptStart;
        AcGePoint3d ptMid;
        AcGePoint3d ptEnd;
    };
    typedef CArray<FRoad_Arc, const FRoad_Arc&> FRoadArcArray;

    explicit CDlyjbjbzDlg(CWnd* pParent = nullptr);
    ~CDlyjbjbzDlg() override;

    CComboBox m_cbTextStyle;
    int m_nDrawLeader; // 1: radial dimensions with leaders, 0: plain texts
    CString m_strRadiusPrefix;
    int m_nPrecision; // decimals, 0 to 8 (the index of the precision list)
    double m_dTextHeight;
    CString m_strStdCutPrefix; // prefix of the one tangent length of a symmetric corner cut
    CString m_strNonStdCutPrefix; // prefix of the two tangent lengths of an asymmetric corner cut

    // Fills the controls from the dialog data and the drawing's parameter store.
    void LoadSettings();
    // Stores the controls in the dialog data and the parameter store (only the annotate button does).
    void SaveSettings();
    // How tangent lengths are obtained: 0 computed from the geometry, 1 read from the cut's "FD_VIEW"
    // field. The drawing's parameter is created with "0" when it is missing.
    int GetCutLengthMode();

    // Whether the selected entity is a corner curve or road line of a kind the run's switches admit;
    // cornerType receives the corner curve's type (2: straight cut), 0 for other road lines.
    bool IsEntityWanted(AcDbObjectId entity, int& cornerType) const;
    // Replaces arcs by the arcs of an arc, lightweight polyline or 2D polyline. 0 only for an id that is
    // null, invalid or erased.
    int CollectArcs(AcDbObjectId entity, FRoadArcArray& arcs) const;
    // The tangent length of a straight corner cut and the corner of the two road lines it cuts (both on
    // the cut's layer). 1: draw one standard label with length at corner. 0: nothing to draw, because
    // the corner was not found or because the cut is asymmetric and its two labels are drawn already.
    int ComputeCutLength(AcDbObjectId entity, double& length, AcGePoint3d& corner, const CString& layer);
    // The corner of the two road lines the straight cut joins; 1 when found.
    int FindCornerPoint(AcDbObjectId entity, AcGePoint3d& corner, const CString& layer);
    // ids = the curves on layer with an end within 0.01 (in plan) of point, in selection order.
    static void FindTouchingCurves(const AcGePoint3d& point, AcDbObjectIdArray& ids, const CString& layer);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // "标注(&D)": stores the settings, ends the dialog and annotates what the user selects.
    afx_msg void OnAnnotate();
    DECLARE_MESSAGE_MAP()

private:
    // What one annotation run reads once at its start.
    struct SRunState {
        CString annotationLayer = _T("0"); // current layer of the run
        CString centreLayer = _T("0");
        CString curbLayer = _T("0");
        CString redLayer = _T("0");
        bool annotateCurb = false; // box 220
        bool annotateRedLine = false; // box 221
        bool annotateCentreline = false; // box 224
        double dimlfac = 1.0;
        int cutLengthMode = 0;
    };
    // The corner search of a straight cut: its ends and bulge, the corner, and how many intersection
    // points the corner was chosen from.
    struct SCornerFound {
        AcGePoint3d start;
        AcGePoint3d end;
        double bulge = 0.0;
        AcGePoint3d corner;
        int intersections = 0;
    };

    bool SearchCorner(AcDbObjectId entity, const CString& layer, SCornerFound& found) const;
    void ReadRoleLayers();
    bool IsChecked(int controlId);
    void SetChecked(int controlId, bool checked);
    // The label format of the run's precision applied to prefix and value.
    CString FormatLabel(const CString& prefix, double value) const;
    // Draws one text label for entity and tags it; the id of the text, null when it could not be made.
    AcDbObjectId DrawLabel(AcDbObjectId entity, const AcGePoint3d& at, const CString& text, double rotation,
        const TEXTPARAM& textParam, const CString& layer) const;
    // Draws the two labels of an asymmetric cut and records its second tangent length (times factor).
    void DrawNonStdCutLabels(
        AcDbObjectId entity, const SCornerFound& found, double d1, double d2, double factor);

    // The two runs and their parts.
    void AnnotateSelection(const AcDbObjectIdArray& ids, bool leaderRun);
    void AnnotateArcsAsTexts(AcDbObjectId entity, const FRoadArcArray& arcs, int cornerType, bool askUser,
        const TEXTPARAM& textParam, const CString& layer);
    void AnnotateArcsAsDimensions(AcDbObjectId entity, const FRoadArcArray& arcs,
        const AcGePoint3dArray& curvePoints, const TEXTPARAM& textParam, AcDbObjectId dimTextStyle,
        const CString& layer);
    void AnnotateStdCut(AcDbObjectId entity, const CString& layer, bool leaderRun);

    SRunState m_run;
};
