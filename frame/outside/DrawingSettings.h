// The drawing settings and scale block modules of the product family: drawing scale and coordinates.
#pragma once

#include "dbid.h"
#include "gepnt3d.h"

class CDrawingSetting {
public:
    // The drawing scale of the current drawing: the other parameter "绘图比例" of its custom parameter
    // store holds the scale denominator (500 for 1:500); the result is denominator / 1000. 1.0 when
    // the parameter is missing or not a positive number.
    static double GetSysScale();
};

// Converts a point of the current drawing into the planning coordinate system. The drawing states
// the conversion in the other parameter "坐标转换参数" as "x0,y0,angle,scale" (angle in degrees): the
// point is scaled and turned about the origin, then moved by (x0, y0); z is kept. Without the
// parameter (or with an unreadable one) the drawing is in planning coordinates and `out` = `in`.
void qvGetConvCoordinate(AcGePoint3d in, AcGePoint3d& out);

// The drawing scale recorded on a scale-dependent block, so that it can be rescaled later.
class CScaleBlkData {
public:
    // Writes the current drawing scale (CDrawingSetting::GetSysScale) onto the object as XDATA
    // "FAPP_SCALEBLK": 1040 scale, replacing what it held before. 1 on success.
    static int SetTo(AcDbObjectId id);
    // The scale recorded on the object; 1 when it carries one.
    static int GetFrom(AcDbObjectId id, double& scale);
};
