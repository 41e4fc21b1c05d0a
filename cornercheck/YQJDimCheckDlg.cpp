// The corner-cut dimension check dialog: its one instance, its controls, and the clicks that become
// "FDeal_RoadYqjDimCheckCommand".
#include "StdAfx.h"

#include "YQJDimCheckDlg.h"

#include "CustomParameterStore.h"
#include "DrawingToolkit.h"
#include "FileUtility.h"
#include "ModelessDialog.h"
#include "export/ExcelOper.h"
#include "shlobj.h"

CYQJDimCheckDlg* g_pYqjDimCheckDlg = nullptr;

IMPLEMENT_DYNAMIC(CYQJDimCheckDlg, CYqjCheckBaseDlg)

BEGIN_MESSAGE_MAP(CYQJDimCheckDlg, CYqjCheckBaseDlg)
ON_NOTIFY(NM_DBLCLK, IDC_YQJ_LIST, &CYqjCheckBaseDlg::OnDblclkList)
ON_BN_CLICKED(IDC_YQJ_EXPORT, &CYQJDimCheckDlg::OnExportExcel)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CYqjCheckBaseDlg::OnAcadKeepFocus)
END_MESSAGE_MAP()

CYQJDimCheckDlg::CYQJDimCheckDlg(CWnd* pParent)
    : CYqjCheckBaseDlg(CYQJDimCheckDlg::IDD, pParent, 0, 0)
{
}

CYQJDimCheckDlg::~CYQJDimCheckDlg() = default;

int CYQJDimCheckDlg::ShowDlg(int visible)
{
    return ShowModelessDlg(g_pYqjDimCheckDlg, CYQJDimCheckDlg::IDD, visible);
}

int CYQJDimCheckDlg::DestroyDlg()
{
    return DestroyModelessDlg(g_pYqjDimCheckDlg);
}

void CYQJDimCheckDlg::DoDataExchange(CDataExchange* pDX)
{
    CYqjCheckBaseDlg::DoDataExchange(pDX);
}

BOOL CYQJDimCheckDlg::PreTranslateMessage(MSG* pMsg)
{
    if (g_pYqjDimCheckDlg != nullptr)
        TakeFocusOnMouseMove(*this, pMsg, m_bKeepFocus);
    return CYqjCheckBaseDlg::PreTranslateMessage(pMsg);
}

BOOL CYQJDimCheckDlg::OnInitDialog()
{
    CYqjCheckBaseDlg::OnInitDialog();
    DLGCTLINFO layout[] = {{IDC_YQJ_LIST, ELASTICX, 100}, {IDC_YQJ_LIST, ELASTICY, 100},
        {IDC_YQJ_EXPORT, MOVEY, 100}, {IDOK, MOVEY, 100}, {IDCANCEL, MOVEY, 100}};
    SetControlProperty(layout, 5);
    return TRUE;
}

void CYQJDimCheckDlg::OnOK()
{
    // Before any double-click the mode is 0 and the dispatcher does nothing: OK then only ends the dialog.
    tarn::cad::SendCmdToAcad(DispatcherCommand());
    CYqjCheckBaseDlg::OnOK();
}

void CYQJDimCheckDlg::OnExportExcel()
{
    // The folder: the one remembered for exports, else the user's choice, remembered from now on.
    CString folder;
    if (!TarnCad::Fun::FGetVROutFilePath(folder)) {
        TCHAR name[MAX_PATH] = {0};
        BROWSEINFOW info = {};
        info.hwndOwner = m_hWnd;
        info.pszDisplayName = name;
        info.lpszTitle = _T("请选择保存的位置");
        info.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
        PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
        if (chosen == nullptr)
            return;
        TCHAR path[MAX_PATH] = {0};
        const BOOL havePath = SHGetPathFromIDListW(chosen, path);
        CoTaskMemFree(chosen);
        folder = havePath ? path : _T("");
        if (folder.IsEmpty())
            return;
        TarnCad::Fun::FSetVROutFilePath(folder);
    }
    fgdutil::ConfirmBackslash(folder);

    // The workbook is named after the drawing: "road.dwg" gives "road_圆切角检测.xls".
    CString drawing;
    tarn::cad::GetSysVar(_T("DWGNAME"), drawing);
    const int dot = drawing.ReverseFind(_T('.'));
    if (dot >= 0)
        drawing = drawing.Left(dot);
    const CString file = folder + drawing + _T("_圆切角检测.xls");

    // Each step does nothing once one failed to start the program: the save then reports the failure.
    CExcelOper excel;
    excel.StartExcel(TRUE);
    excel.NewWorkbook();
    excel.SetHAlign(2);
    CStringArray header;
    for (const TCHAR* title : {_T("序号"), _T("标注文字"), _T("实际值"), _T("标准值"), _T("错误类型")})
        header.Add(title);
    excel.WriteRow(1, header);
    for (int item = 0; item < m_list.GetItemCount(); ++item) {
        CStringArray row;
        for (int column = 0; column < 5; ++column)
            row.Add(m_list.GetItemText(item, column));
        excel.WriteRow(item + 2, row);
    }
    excel.AutoFitColumns();
    if (!excel.SaveAs(file)) {
        acutPrintf(_T("Excel文件导出失败！\n"));
        excel.Close();
        return;
    }
    acutPrintf(_T("Excel文件导出成功！\n"));
    CString question;
    question.Format(_T("成功导出检测结果到%s。是否打开？"), file.GetString());
    if (MessageBox(question, _T("打开确认"), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
        excel.OpenWorkbook(file);
    else
        excel.Close();
}
