// The handlers of the module's twelve commands.
#pragma once

void QvZdbzCommand(); // stake-point annotation
void QvDlyjbjbzCommand(); // curb-return radius annotation
void DldmtkCommand(); // library: single-carriageway road cross-section
void DlfxftkCommand(); // library: road direction symbol
void RoadYqjCheckCommand(); // opener of the corner-cut check dialog
void YqjCheckOprCommand(); // dispatcher of the corner-cut check dialog
void TCrossDealCommand(); // T-junction repair
void RoadYqjDimCheckCommand(); // opener of the corner-cut dimension check dialog
void RoadYqjDimCheckOprCommand(); // dispatcher of the corner-cut dimension check dialog
void RoadWidthCheckCommand(); // opener of the road width check dialog
void RoadWidthCheckOprCommand(); // dispatcher of the road width check dialog
void DldmDataDealCommand(); // cross-section data conversion

// Tears down the three modeless result dialogs, in this order, at unload.
void DestroyYqjCheckDlg();
void DestroyYqjDimCheckDlg();
void DestroyRoadWidthCheckDlg();
