// Utility functions of the ADS interface: result buffers, printing, wildcard matching, conversions.
#pragma once

#include "adscodes.h"
#include "adsdef.h"

// Builds a result-buffer list from type/value pairs, ended by 0 or RTNONE. The C type of each
// value follows from its type code as in a DXF group: strings (RTSTR, RTDXF0, groups 0-9, 100-109,
// 300-309, 410-419, 430-439, 470-479, 999-1003, 1005-1009, -4), reals (RTREAL, RTANG, 38-59,
// 140-149, 460-469, 1040-1042), shorts passed as int (RTSHORT, 60-79, 170-179, 270-289, 370-389,
// 400-409, 1060-1070), longs (RTLONG, 90-99, 420-429, 440-459, 1071), points passed as a pointer
// to ads_point (RTPOINT, RT3DPOINT, 10-17, 110-112, 210, 1010-1013), entity names passed as a
// pointer to ads_name (RTENAME, -1, -2, 330-369, 390-399, 480-481), and no value at all (RTLB,
// RTLE, RTDOTE, RTNIL, RTT, RTVOID and -3). Returns null (and builds nothing) for an unknown type.
struct resbuf* acutBuildList(int rtype, ...);
struct resbuf* acutNewRb(int v);
int acutRelRb(struct resbuf* rb);

int acutPrintf(const ACHAR* format, ...);
int acutWcMatch(const ACHAR* string, const ACHAR* pattern);
int acutCvUnit(ads_real value, const ACHAR* oldunit, const ACHAR* newunit, ads_real* result);
int acutRToS(ads_real val, int unit, int prec, ACHAR* str, size_t nBufLen);
int acutAngToS(ads_real v, int unit, int prec, ACHAR* str, size_t nBufLen);
ads_real acutAngle(const ads_point pt1, const ads_point pt2);
ads_real acutDistance(const ads_point pt1, const ads_point pt2);
void acutPolar(const ads_point pt, ads_real angle, ads_real dist, ads_point ptres);

#define ads_buildlist acutBuildList
#define ads_newrb acutNewRb
#define ads_relrb acutRelRb
#define ads_printf acutPrintf
