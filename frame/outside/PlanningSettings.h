// The planning settings library of the product family: library drawings, paths and the standard.
#pragma once

#include "afx.h"

class CQvSetting {
public:
    // Inserts the library drawing named by the entry ("道路图库/道路方向符"); the result is the
    // library's own status.
    static int QV_Call_TK(CString entry);
    // The same for the road cross-section library ("单幅路道路断面").
    static int QV_Call_TK_DLHDM(CString entry);
};
