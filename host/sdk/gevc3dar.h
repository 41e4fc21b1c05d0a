// AcGeVector3dArray: a growable array of 3D vectors.
#pragma once

#include "acarray.h"
#include "gevec3d.h"

typedef AcArray<AcGeVector3d> AcGeVector3dArray;
