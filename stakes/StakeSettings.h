// The settings of one stake label: the values it shows and the layout, precision, height and alignment
// it is drawn with; the last four are kept in the drawing's parameter store between runs.
#pragma once

#include "StdAfx.h"

struct SZDBZPARAM {
    double dX; // shown after "X="
    double dY; // shown after "Y="
    double dH; // planned elevation, after "H="
    double dh; // existing elevation, after "h="
    int nMode; // 0: two-by-two table, 1: one column of four rows
    int nCoordPrec; // decimals of dX and dY
    int nElevPrec; // decimals of dH and dh
    double dTextHeight; // before the drawing scale is applied
    int nAlign; // 0 left, 1 centred, 2 right

    // The initial values, then the stored settings of the current drawing.
    SZDBZPARAM();

    // Reads the four stored settings; a missing entry gives its default, a store-less drawing changes
    // nothing.
    void Load();
    // Writes the four stored settings (the text height with one decimal).
    void Save() const;
};
