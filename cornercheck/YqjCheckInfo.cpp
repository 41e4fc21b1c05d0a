// The columns of the corner-cut check's result list.
#include "StdAfx.h"

#include "YqjCheckInfo.h"

#include <iterator>

void InitYqjResultColumns(CListCtrl& list)
{
    list.SendMessage(
        LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    CRect rcList;
    list.GetWindowRect(&rcList);
    const int nUnit = rcList.Width() / 9;
    const ACHAR* const headers[] = {_T("序号"), _T("标注文字"), _T("实际值"), _T("标准值"), _T("错误类型")};
    const int widths[] = {nUnit, 2 * nUnit, static_cast<int>(1.8 * nUnit), static_cast<int>(1.8 * nUnit),
        static_cast<int>(2.4 * nUnit)};
    for (int i = 0; i < 5; ++i) {
        LVCOLUMN column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_CENTER;
        column.cx = widths[i];
        column.pszText = const_cast<LPWSTR>(headers[i]);
        column.iSubItem = i;
        list.InsertColumn(i, &column);
    }
}

CString YqjErrorText(int type)
{
    static const ACHAR* const texts[] = {_T(""), _T("数值错"), _T("标注错"), _T("前缀错"), _T("无标注"),
        _T("圆切角不规范"), _T("标注错,但标注值与属性值一致"), _T("数值错,但标注值与属性值一致")};
    if (type < 0 || type >= static_cast<int>(std::size(texts)))
        return CString();
    return texts[type];
}
