// The editor services of the host: the status bar's progress meter and related calls.
#pragma once

#include "accmd.h"
#include "acedads.h"
#include "rxregsvc.h"

// Shows a progress meter with a label; 0 on success, -1 on failure.
int acedSetStatusBarProgressMeter(const ACHAR* pszLabel, int nMinPos, int nMaxPos);
// Moves the meter; a negative value moves it by that many steps relative to where it is.
int acedSetStatusBarProgressMeterPos(int nPos);
void acedRestoreStatusBar();
