// The cross-section description of a road centreline: the coded form (part codes with widths, such as
// "rx5cx7cx7rx5") turned into the plain form (the strip widths joined by "+", "5+14+5").
#pragma once

#include "StdAfx.h"

#include <vector>

// True when the text is not empty and holds only digits and ".".
bool IsNumericText(const CString& text);

// The runs of the coded value, alternately text and numeric; a text run at the end is dropped.
std::vector<CString> TokenizeCrossSection(const CString& coded);

// The coded value converted: the plain form, the road width ("%g") and the number of carriageway panels.
struct SPlainCrossSection {
    CString plain;
    CString width;
    int panels = 0;
};

// False when the value is not a coded cross-section this conversion takes (fewer than 7 runs, or no part
// code "rx", "cx" or "fg" after the first run).
bool ConvertCrossSection(const CString& coded, SPlainCrossSection& result);

// The panel text of a number of panels: "一板块" … "四板块"; any other count gives "一板块".
CString PanelText(int panels);
