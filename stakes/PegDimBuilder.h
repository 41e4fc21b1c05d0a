// The stake label: four texts "X=", "Y=", "H=", "h=" in a ruled frame, laid out as a table or a column,
// turned with the current UCS about the stake point.
#pragma once

#include "StdAfx.h"

#include "StakeSettings.h"
#include "ToolkitEditing.h"

// Makes the label of the stake point `point` (world) in memory: pGroup receives a new group of ten slots,
// the frame lines in slots 0 to 5 (slot 0 the top rule, slot 1 the middle rule starting at the point;
// slot 5 empty in the column layout) and the texts X, Y, H, h in slots 6 to 9. The caller owns the group.
void CreatePegDim(const AcGePoint3d& point, tarn::CEntsGroup*& pGroup, const SZDBZPARAM& param);
