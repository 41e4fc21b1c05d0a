// AcDbVoidPtrArray: an array of untyped pointers, as curve splitting and offsetting return their pieces.
#pragma once

#include "acarray.h"

typedef AcArray<void*> AcDbVoidPtrArray;
