// The AcDb namespace of enumerations used across the database interfaces.
#pragma once

#include "adesk.h"

struct AcDb {
    enum OpenMode { kNotOpen = -1, kForRead = 0, kForWrite = 1, kForNotify = 2 };
    enum Intersect { kOnBothOperands = 0, kExtendThis = 1, kExtendArg = 2, kExtendBoth = 3 };
    enum TextHorzMode {
        kTextLeft = 0,
        kTextCenter = 1,
        kTextRight = 2,
        kTextAlign = 3,
        kTextMid = 4,
        kTextFit = 5
    };
    enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };
    enum Poly2dType { k2dSimplePoly = 0, k2dFitCurvePoly = 1, k2dQuadSplinePoly = 2, k2dCubicSplinePoly = 3 };
    enum Vertex2dType {
        k2dVertex = 0,
        k2dSplineCtlVertex = 1,
        k2dSplineFitVertex = 2,
        k2dCurveFitVertex = 3
    };
    enum SaveType { kDwg = 0, kDxf = 1, kDxb = 2 };
    enum LineWeight { kLnWt000 = 0, kLnWtByLayer = -1, kLnWtByBlock = -2, kLnWtByLwDefault = -3 };
    enum Visibility { kVisible = 0, kInvisible = 1 };
    enum DuplicateRecordCloning {
        kDrcNotApplicable = 0,
        kDrcIgnore = 1,
        kDrcReplace = 2,
        kDrcXrefMangleName = 3,
        kDrcMangleName = 4,
        kDrcUnmangleName = 5
    };
    enum DwgDataType {
        kDwgNull = 0,
        kDwgReal = 1,
        kDwgInt32 = 2,
        kDwgInt16 = 3,
        kDwgInt8 = 4,
        kDwgText = 5,
        kDwgBChunk = 6,
        kDwgHandle = 7,
        kDwgHardOwnershipId = 8,
        kDwgSoftOwnershipId = 9,
        kDwgHardPointerId = 10,
        kDwgSoftPointerId = 11,
        kDwg3Real = 12,
        kDwgInt64 = 13,
        kDwgNotRecognized = 19
    };
    enum OsnapMask {
        kOsMaskEnd = 0x1,
        kOsMaskMid = 0x2,
        kOsMaskCen = 0x4,
        kOsMaskNode = 0x8,
        kOsMaskQuad = 0x10,
        kOsMaskInt = 0x20,
        kOsMaskIns = 0x40,
        kOsMaskPerp = 0x80,
        kOsMaskTan = 0x100,
        kOsMaskNear = 0x200,
        kOsMaskQuick = 0x400,
        kOsMaskApint = 0x800,
        kOsMaskImmediate = 0x10000,
        kOsMaskAllowTan = 0x20000,
        kOsMaskDisablePerp = 0x40000,
        kOsMaskRelCartesian = 0x80000,
        kOsMaskRelPolar = 0x100000,
        kOsMaskNoneOverride = 0x200000
    };
    enum ColorMethod { kByLayer = 0xC0, kByBlock = 0xC1, kByColor = 0xC2, kByACI = 0xC3, kNone = 0xC8 };
    enum DimArrowFlags { kFirstArrow = 0, kSecondArrow = 1 };
    enum MeasurementValue { kEnglish = 0, kMetric = 1 };
    enum UnitsValue { kUnitsUndefined = 0, kUnitsMillimeters = 4, kUnitsMeters = 6 };
};

typedef AcDb::OpenMode AcDbOpenMode;
