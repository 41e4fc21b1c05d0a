// A generated road drawing: the plan drawn into a host database with the road data, and the list of
// what the corner-cut check must report for each corner.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "RoadGridPlan.h"
#include "dbmain.h"

namespace planroad::sample {

// One red-line corner as drawn, with the check's expected result row.
struct ExpectedCorner {
    std::wstring handle; // of the corner curve
    Outcome outcome = Outcome::Correct;
    bool rounded = false;
    double value = 0; // the corner's tangent length or radius
    double standard = 0;
    std::wstring annotation; // empty: none
    std::wstring recordedValue; // the cut's recorded value, empty when none
    bool insideRange = true;
};

struct SampleDrawing {
    std::unique_ptr<AcDbDatabase> database;
    std::vector<ExpectedCorner> corners;
};

// Layers and parameter keys of the generated drawings.
namespace names {
inline constexpr const wchar_t* kCentreLayer = L"DL-道路中线";
inline constexpr const wchar_t* kRedLayer = L"DL-道路红线";
inline constexpr const wchar_t* kSideLayer = L"DL-道路边线";
inline constexpr const wchar_t* kAnnotationLayer = L"DL-道路标注";
inline constexpr const wchar_t* kRangeLayer = L"DL-规划范围线";
inline constexpr const wchar_t* kPlannedPointLayer = L"GC-规划高程点";
inline constexpr const wchar_t* kExistingPointLayer = L"GC-现状高程点";
inline constexpr const wchar_t* kTextStyle = L"HZ";
} // namespace names

// Draws the plan into a new database, made the working database while it is built (and left so).
SampleDrawing buildSampleDrawing(const Plan& plan);

// The expected results as UTF-8 CSV with a header line: handle, outcome, kind, value, standard,
// annotation, recorded value, inside the range (1/0).
void writeExpectedCorners(const std::vector<ExpectedCorner>& corners, std::ostream& out);

} // namespace planroad::sample
