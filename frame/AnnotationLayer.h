// Which layer an annotation of an entity goes on: the drawing's layer option and "bzlayer.ini".
#pragma once

#include "StdAfx.h"

#include "FileUtility.h"

// Module-wide state of the annotation layer rule, created empty at load and released at unload.
struct ANNOTLAYERSTATE {
    daroviz::CIniFile bzLayerIni; // "bzlayer.ini" of the common folder
    int bzLayerIniLoaded = 0;
    CStringArray annotEntTypes; // entity types (extended-data applications) in the order they are tried
    CString annotCategory; // "DIM", "COR", "RAD" or "TXT": set by the feature before it asks
    CString annotFixedLayer; // the layer of option 4; nothing in the module assigns it
};

// Creates the state at load; releases it at unload. Without the state every operation fails softly.
void CreateAnnotLayerState();
void ReleaseAnnotLayerState();
ANNOTLAYERSTATE* GetAnnotLayerState();

// Sets the category of the annotations the calling feature is about to draw.
void SetAnnotCategory(const CString& category);

// Reads "bzlayer.ini" from the common folder. 1 when it was read; 0 when there is no common folder
// (the loaded flag is then left as it was) or the file cannot be read.
int LoadBzLayerIni();
// The drawing's option "面向实体标注图层选项", created with the value text "0.0" when it is missing.
double GetAnnotLayerOption();
// Refills annotEntTypes from the section "ENT_TYPE". 0 when the section cannot be read, else whether
// the list holds anything.
int LoadAnnotEntTypes();
// The layer that the ini file gives for entity type `entType` and `category`, through the layer
// parameter the file names. 1 when a non-empty layer name was found.
int GetLayerOfEntType(const CString& entType, const CString& category, CString& layer);
// The layer for an annotation of `entity` under the drawing's option; empty when none was decided.
CString GetAnnotationLayer(AcDbObjectId entity);
