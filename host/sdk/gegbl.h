// AcGeContext: process-wide settings of the geometry library, the global tolerance above all.
#pragma once

#include "getol.h"

struct AcGeContext {
    // The tolerance every AcGe comparison uses unless it is handed one; writable by the application.
    static AcGeTol gTol;
};
