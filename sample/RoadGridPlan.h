// The layout of a generated road drawing: a grid of roads, their lines and corners, and what the
// corner-cut check must find at each corner. Pure geometry: nothing here touches a drawing.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace planroad::sample {

struct Point2 {
    double x = 0;
    double y = 0;
};

// What the corner-cut check is to report for a corner (the codes of its result rows).
enum class Outcome : int {
    Correct = 0, // annotation states the actual value with the right prefix
    ValueNotMultiple = 1, // the actual value is not a multiple of 2.5
    WrongNumber = 2, // a multiple of 2.5, but the annotation states another number
    WrongPrefix = 3, // number right, "Q" where "FQ" belongs or the other way round
    NoAnnotation = 4,
    Irregular = 5, // the corner cut does not meet the red lines it should join
    WrongNumberAsRecorded = 6, // as WrongNumber, and the number is the one recorded on the cut
    ValueNotMultipleAsRecorded = 7, // as ValueNotMultiple, and the number is the one recorded on the cut
};
constexpr int kOutcomeCount = 8;

// How a road's width can be read back: the width field, or only the cross-section in one of its forms.
enum class WidthSource { WidthField, PlainSection, CodedSection };

struct Road {
    bool vertical = false; // runs along Y at x = offset; else along X at y = offset
    double offset = 0;
    double from = 0; // extent along the road
    double to = 0;
    double width = 0;
    double sidewalk = 0; // from the red line to the curb line, each side
    std::wstring codedSection; // "rx4cx16rx4"
    std::wstring plainSection; // "4+16+4"
    std::wstring panels; // "一块板", ...
    std::wstring name; // "经一路"
    WidthSource widthSource = WidthSource::WidthField;
    // The centreline drawn as one polyline, or as one line per stretch between crossings.
    bool segmented = false;
    std::vector<double> crossings; // positions along the road where other roads cross, ascending
};

struct LineSegment {
    Point2 start;
    Point2 end;
    bool asPolyline = false; // drawn as a two-vertex polyline instead of a line
};

struct ArcPiece {
    Point2 centre;
    double radius = 0;
    double startAngle = 0; // radians, counter-clockwise to endAngle
    double endAngle = 0;
};

// A corner of a block where two roads meet, cut off on the red lines.
struct RedCorner {
    int verticalRoad = 0; // index into Plan::roads
    int horizontalRoad = 0;
    Point2 corner; // where the two red lines would meet
    bool rounded = false; // an arc of radius `value` instead of a straight cut
    LineSegment cut; // the straight cut, start to end (as drawn: its direction varies)
    ArcPiece arc; // the rounded corner
    double value = 0; // tangent length of the cut, or the radius of the arc
    double standard = 0; // standard value of the two roads' classes, 0 when there is none
    Outcome outcome = Outcome::Correct;
    std::wstring annotation; // empty: no annotation text
    Point2 annotationAt; // middle of the annotation text
    double annotationAngle = 0;
    std::optional<std::wstring> recordedValue; // the value recorded on the cut ("%.2f"), if any
    bool insideRange = true; // within the planning range line
};

// A rounded corner of the curb lines (curb return), for the radius annotation.
struct CurbCorner {
    ArcPiece arc;
};

struct ElevationPoint {
    double x = 0;
    double y = 0;
    double z = 0;
};

struct Plan {
    std::vector<Road> roads;
    std::vector<LineSegment> redLines;
    std::vector<RedCorner> corners;
    std::vector<LineSegment> curbLines;
    std::vector<CurbCorner> curbCorners;
    std::vector<Point2> rangeLine; // closed polygon
    std::vector<ElevationPoint> plannedPoints;
    std::vector<ElevationPoint> existingPoints;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

struct PlanOptions {
    std::uint32_t seed = 1;
    int intersections = 4;
    // Share of red-line corners annotated wrongly; spread evenly over the seven kinds of fault.
    double faultShare = 0.35;
    // Share of red-line corners that are rounded (arcs) instead of cut straight.
    double roundedShare = 0.15;
};

// The standard corner value for two road widths, 0 when the pair has none.
using StandardLookup = std::function<double(double width1, double width2)>;

// Lays out a grid of about `intersections` crossings (columns x rows, as square as the count allows).
// The same options always give the same plan.
Plan makePlan(const PlanOptions& options, const StandardLookup& standard);

// The annotation text of a corner value: prefix and the number with one decimal ("Q15.0").
std::wstring annotationText(const std::wstring& prefix, double number);

} // namespace planroad::sample
