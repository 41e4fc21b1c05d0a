// How the stake label follows the cursor while the user drags it into place.
#pragma once

#include "StdAfx.h"

// The jig callback of "QVZDBZ": moves the dragged label so that it stands right of the cursor, or left of
// it while the cursor is left of the stake point, without drifting when the cursor crosses back and forth.
void PegDimJigCallback(AcEdJig* pJig);
