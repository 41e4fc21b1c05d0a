// Lays out the road grid of a generated drawing and decides every corner's annotation and outcome.
#include "RoadGridPlan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

namespace planroad::sample {

namespace {

constexpr double kOverhang = 80.0; // roads run on beyond the outermost crossings
constexpr double kTextHeight = 3.0;
constexpr double kIrregularShift = 4.0; // how far an irregular cut lies off its red lines

// Deterministic draws on every platform: only the engine's raw output is used.
class Draw {
public:
    explicit Draw(std::uint32_t seed)
        : mEngine(seed)
    {
    }
    double unit() { return static_cast<double>(mEngine()) / 4294967296.0; }
    double between(double low, double high) { return low + (high - low) * unit(); }
    std::size_t index(std::size_t count)
    {
        return static_cast<std::size_t>(unit() * static_cast<double>(count));
    }
    template <typename T, std::size_t N> const T& pick(const std::array<T, N>& items)
    {
        return items[index(N)];
    }
    bool chance(double share) { return unit() < share; }

private:
    std::mt19937 mEngine;
};

std::wstring number(double value)
{
    wchar_t text[32];
    if (value == std::floor(value))
        std::swprintf(text, std::size(text), L"%.0f", value);
    else
        std::swprintf(text, std::size(text), L"%g", value);
    return text;
}

std::wstring chineseNumeral(int n)
{
    static const wchar_t* const digits[]
        = {L"零", L"一", L"二", L"三", L"四", L"五", L"六", L"七", L"八", L"九"};
    if (n < 10)
        return digits[n];
    if (n < 20)
        return std::wstring(L"十") + (n % 10 == 0 ? L"" : digits[n % 10]);
    if (n < 100)
        return std::wstring(digits[n / 10]) + L"十" + (n % 10 == 0 ? L"" : digits[n % 10]);
    return std::to_wstring(n);
}

Road makeRoad(Draw& draw, bool vertical, double offset, int ordinal)
{
    static constexpr std::array<double, 12> widths {12, 12, 16, 16, 20, 24, 24, 30, 30, 40, 50, 8};
    Road road;
    road.vertical = vertical;
    road.offset = offset;
    road.width = draw.pick(widths);
    road.sidewalk = road.width >= 40 ? 5 : road.width >= 24 ? 4 : road.width >= 12 ? 3 : 2;
    const double s = road.sidewalk;
    if (road.width >= 30) {
        const double separator = 2;
        const double carriageway = (road.width - 2 * s - separator) / 2;
        road.codedSection = L"rx" + number(s) + L"cx" + number(carriageway) + L"fg" + number(separator)
            + L"cx" + number(carriageway) + L"rx" + number(s);
        road.plainSection = number(s) + L"+" + number(carriageway) + L"+" + number(separator) + L"+"
            + number(carriageway) + L"+" + number(s);
        road.panels = L"两块板";
    } else {
        const double carriageway = road.width - 2 * s;
        road.codedSection = L"rx" + number(s) + L"cx" + number(carriageway) + L"rx" + number(s);
        road.plainSection = number(s) + L"+" + number(carriageway) + L"+" + number(s);
        road.panels = L"一块板";
    }
    const double source = draw.unit();
    road.widthSource = source < 0.7 ? WidthSource::WidthField
        : source < 0.85             ? WidthSource::PlainSection
                                    : WidthSource::CodedSection;
    road.segmented = draw.chance(0.5);
    road.name = std::wstring(vertical ? L"经" : L"纬") + chineseNumeral(ordinal + 1) + L"路";
    return road;
}

// Positions of `count` roads across, 150 to 250 apart.
std::vector<double> roadPositions(Draw& draw, int count)
{
    std::vector<double> positions;
    double at = 0;
    for (int i = 0; i < count; ++i) {
        positions.push_back(at);
        at += std::round(draw.between(150, 250) / 10) * 10;
    }
    return positions;
}

double elevationAt(double x, double y)
{
    return 12.0 + 0.0015 * x + 0.0008 * y + 0.8 * std::sin(x / 400.0) * std::cos(y / 500.0);
}

// The quarter arc of a corner: centre `radius` into the block from the corner point, running between
// the two tangent points on the sides.
ArcPiece cornerArc(Point2 corner, double dx, double dy, double radius)
{
    ArcPiece arc;
    arc.centre = {corner.x + dx * radius, corner.y + dy * radius};
    arc.radius = radius;
    const double towardsVerticalSide = std::atan2(0.0, -dx);
    const double towardsHorizontalSide = std::atan2(-dy, 0.0);
    double sweep = towardsHorizontalSide - towardsVerticalSide;
    while (sweep < 0)
        sweep += 2 * std::numbers::pi;
    // The quarter towards the corner: whichever order makes it a counter-clockwise quarter turn.
    if (std::fabs(sweep - std::numbers::pi / 2) < 1e-9) {
        arc.startAngle = towardsVerticalSide;
        arc.endAngle = towardsHorizontalSide;
    } else {
        arc.startAngle = towardsHorizontalSide;
        arc.endAngle = towardsVerticalSide;
    }
    return arc;
}

std::wstring recorded(double value)
{
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%.2f", value);
    return text;
}

bool same(double a, double b)
{
    return std::fabs(a - b) < 1e-6;
}

// Chooses the corner's value, annotation and recorded value for its outcome.
void decideAnnotation(Draw& draw, RedCorner& c)
{
    static constexpr std::array<double, 9> multiples {5, 7.5, 10, 12.5, 15, 17.5, 20, 22.5, 25};
    static constexpr std::array<double, 5> fractions {0.3, 0.6, 1.2, 1.7, 2.1};
    auto plausible = [&] { return c.standard > 0 && draw.chance(0.6) ? c.standard : draw.pick(multiples); };
    auto rightPrefix
        = [&](double n) { return same(n, c.standard) ? std::wstring(L"Q") : std::wstring(L"FQ"); };
    auto otherMultiple = [&](double value) {
        const double step = draw.chance(0.5) ? 2.5 : 5.0;
        return value - step >= 5 && draw.chance(0.5) ? value - step : value + step;
    };
    double shown = 0;
    std::wstring prefix;
    switch (c.outcome) {
    case Outcome::Correct:
    case Outcome::NoAnnotation:
    case Outcome::Irregular:
        c.value = plausible();
        shown = c.value;
        prefix = rightPrefix(shown);
        c.recordedValue = recorded(c.value);
        break;
    case Outcome::WrongPrefix:
        c.value = plausible();
        shown = c.value;
        prefix = rightPrefix(shown) == L"Q" ? L"FQ" : L"Q";
        c.recordedValue = recorded(c.value);
        break;
    case Outcome::WrongNumber:
    case Outcome::WrongNumberAsRecorded:
        c.value = plausible();
        shown = otherMultiple(c.value);
        prefix = rightPrefix(shown);
        c.recordedValue = recorded(c.outcome == Outcome::WrongNumber ? c.value : shown);
        break;
    case Outcome::ValueNotMultiple:
    case Outcome::ValueNotMultipleAsRecorded: {
        const double base = draw.pick(multiples);
        c.value = base + draw.pick(fractions);
        shown = base;
        prefix = rightPrefix(shown);
        c.recordedValue = recorded(c.outcome == Outcome::ValueNotMultiple ? c.value : shown);
        break;
    }
    }
    if (c.rounded)
        c.recordedValue.reset(); // only straight cuts record their tangent length
    if (c.outcome != Outcome::NoAnnotation)
        c.annotation = annotationText(prefix, shown);
}

bool boxMeetsRange(const RedCorner& c, const std::vector<Point2>& range)
{
    // The range is an axis-parallel rectangle; a corner belongs to it when its curve's box meets it.
    double lowX = std::min(c.cut.start.x, c.cut.end.x), highX = std::max(c.cut.start.x, c.cut.end.x);
    double lowY = std::min(c.cut.start.y, c.cut.end.y), highY = std::max(c.cut.start.y, c.cut.end.y);
    if (c.rounded) {
        lowX = c.arc.centre.x - c.arc.radius;
        highX = c.arc.centre.x + c.arc.radius;
        lowY = c.arc.centre.y - c.arc.radius;
        highY = c.arc.centre.y + c.arc.radius;
    }
    return highX >= range[0].x && lowX <= range[2].x && highY >= range[0].y && lowY <= range[2].y;
}

} // namespace

std::wstring annotationText(const std::wstring& prefix, double value)
{
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%.1f", value);
    return prefix + text;
}

Plan makePlan(const PlanOptions& options, const StandardLookup& standard)
{
    Draw draw(options.seed);
    Plan plan;
    const int wanted = std::max(1, options.intersections);
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(wanted))));
    const int rows = (wanted + columns - 1) / columns;

    const std::vector<double> xs = roadPositions(draw, columns);
    const std::vector<double> ys = roadPositions(draw, rows);
    plan.minX = xs.front() - kOverhang;
    plan.maxX = xs.back() + kOverhang;
    plan.minY = ys.front() - kOverhang;
    plan.maxY = ys.back() + kOverhang;
    for (int i = 0; i < columns; ++i) {
        Road road = makeRoad(draw, true, xs[static_cast<std::size_t>(i)], i);
        road.from = plan.minY;
        road.to = plan.maxY;
        road.crossings = ys;
        plan.roads.push_back(road);
    }
    for (int j = 0; j < rows; ++j) {
        Road road = makeRoad(draw, false, ys[static_cast<std::size_t>(j)], j);
        road.from = plan.minX;
        road.to = plan.maxX;
        road.crossings = xs;
        plan.roads.push_back(road);
    }
    auto vertical = [&](int i) -> const Road& { return plan.roads[static_cast<std::size_t>(i)]; };
    auto horizontal = [&](int j) -> const Road& { return plan.roads[static_cast<std::size_t>(columns + j)]; };

    // The planning range: everything but the last column of roads when there are three or more.
    const double rangeRight
        = columns >= 3 ? (xs[static_cast<std::size_t>(columns - 2)] + xs.back()) / 2 : plan.maxX - 10;
    plan.rangeLine = {{plan.minX + 10, plan.minY + 10}, {rangeRight, plan.minY + 10},
        {rangeRight, plan.maxY - 10}, {plan.minX + 10, plan.maxY - 10}};

    // Blocks: cell (k, j) lies between vertical roads k-1 and k and horizontal roads j-1 and j; the
    // outer cells reach the ends of the roads.
    for (int k = 0; k <= columns; ++k) {
        for (int j = 0; j <= rows; ++j) {
            const bool left = k > 0, right = k<columns, bottom = j> 0, top = j < rows;
            const double L = left ? vertical(k - 1).offset + vertical(k - 1).width / 2 : plan.minX;
            const double R = right ? vertical(k).offset - vertical(k).width / 2 : plan.maxX;
            const double B = bottom ? horizontal(j - 1).offset + horizontal(j - 1).width / 2 : plan.minY;
            const double T = top ? horizontal(j).offset - horizontal(j).width / 2 : plan.maxY;

            // Corners in the order bottom-left, bottom-right, top-left, top-right; each with the
            // direction into the block and the two roads that meet there.
            struct Slot {
                bool present;
                Point2 at;
                double dx, dy;
                int verticalRoad, horizontalRoad;
            };
            const std::array<Slot, 4> slots {{
                {left && bottom, {L, B}, 1, 1, k - 1, j - 1},
                {right && bottom, {R, B}, -1, 1, k, j - 1},
                {left && top, {L, T}, 1, -1, k - 1, j},
                {right && top, {R, T}, -1, -1, k, j},
            }};
            std::array<double, 4> tangent {}; // 0 where there is no corner
            for (std::size_t s = 0; s < slots.size(); ++s) {
                const Slot& slot = slots[s];
                if (!slot.present)
                    continue;
                RedCorner c;
                c.verticalRoad = slot.verticalRoad;
                c.horizontalRoad = columns + slot.horizontalRoad;
                c.corner = slot.at;
                c.standard
                    = standard(vertical(slot.verticalRoad).width, horizontal(slot.horizontalRoad).width);
                if (draw.chance(options.faultShare))
                    c.outcome = static_cast<Outcome>(1 + draw.index(kOutcomeCount - 1));
                const bool recordsValue = c.outcome == Outcome::WrongNumberAsRecorded
                    || c.outcome == Outcome::ValueNotMultipleAsRecorded;
                c.rounded = !recordsValue && draw.chance(options.roundedShare);
                decideAnnotation(draw, c);
                tangent[s] = c.value;

                const double shift = c.outcome == Outcome::Irregular ? kIrregularShift : 0.0;
                const Point2 onHorizontal {
                    slot.at.x + slot.dx * c.value + slot.dx * shift, slot.at.y + slot.dy * shift};
                const Point2 onVertical {
                    slot.at.x + slot.dx * shift, slot.at.y + slot.dy * c.value + slot.dy * shift};
                if (c.rounded) {
                    c.arc = cornerArc({slot.at.x + slot.dx * shift, slot.at.y + slot.dy * shift}, slot.dx,
                        slot.dy, c.value);
                    c.cut = {onHorizontal, onVertical, false};
                } else if (draw.chance(0.5)) {
                    c.cut = {onHorizontal, onVertical, draw.chance(0.3)};
                } else {
                    c.cut = {onVertical, onHorizontal, draw.chance(0.3)};
                }
                // The annotation sits a little into the block from the chord of the corner curve: the
                // check looks for it beyond the chord, between the corner's two red lines.
                const double inward = 2 * kTextHeight;
                const Point2 middle {
                    (onHorizontal.x + onVertical.x) / 2, (onHorizontal.y + onVertical.y) / 2};
                c.annotationAt = {middle.x + slot.dx * inward / std::numbers::sqrt2,
                    middle.y + slot.dy * inward / std::numbers::sqrt2};
                double angle = std::atan2(onVertical.y - onHorizontal.y, onVertical.x - onHorizontal.x);
                if (angle > std::numbers::pi / 2)
                    angle -= std::numbers::pi;
                else if (angle <= -std::numbers::pi / 2)
                    angle += std::numbers::pi;
                c.annotationAngle = angle;
                c.insideRange = boxMeetsRange(c, plan.rangeLine);
                plan.corners.push_back(c);
            }

            // Red lines along the block's sides that face a road, between the corners' tangent points.
            auto side = [&](Point2 a, Point2 b) { plan.redLines.push_back({a, b, draw.chance(0.2)}); };
            if (bottom)
                side({L + tangent[0], B}, {R - tangent[1], B});
            if (top)
                side({L + tangent[2], T}, {R - tangent[3], T});
            if (left)
                side({L, B + tangent[0]}, {L, T - tangent[2]});
            if (right)
                side({R, B + tangent[1]}, {R, T - tangent[3]});

            // Curb lines: the carriageway edges, a sidewalk further into the roads, with rounded corners.
            const double cl = left ? L - vertical(k - 1).sidewalk : plan.minX;
            const double cr = right ? R + vertical(k).sidewalk : plan.maxX;
            const double cb = bottom ? B - horizontal(j - 1).sidewalk : plan.minY;
            const double ct = top ? T + horizontal(j).sidewalk : plan.maxY;
            static constexpr std::array<double, 5> curbRadii {10, 12, 15, 20, 25};
            std::array<double, 4> curbRadius {};
            const std::array<Point2, 4> curbCorners {{{cl, cb}, {cr, cb}, {cl, ct}, {cr, ct}}};
            for (std::size_t s = 0; s < slots.size(); ++s) {
                if (!slots[s].present)
                    continue;
                curbRadius[s] = draw.pick(curbRadii);
                plan.curbCorners.push_back(
                    {cornerArc(curbCorners[s], slots[s].dx, slots[s].dy, curbRadius[s])});
            }
            auto curb = [&](Point2 a, Point2 b) { plan.curbLines.push_back({a, b, false}); };
            if (bottom)
                curb({cl + curbRadius[0], cb}, {cr - curbRadius[1], cb});
            if (top)
                curb({cl + curbRadius[2], ct}, {cr - curbRadius[3], ct});
            if (left)
                curb({cl, cb + curbRadius[0]}, {cl, ct - curbRadius[2]});
            if (right)
                curb({cr, cb + curbRadius[1]}, {cr, ct - curbRadius[3]});
        }
    }

    // Elevation points: planned ones at the crossings and along the roads, existing ones on a loose grid.
    for (const Road& road : plan.roads) {
        for (double at = road.from; at <= road.to; at += 50) {
            const Point2 p = road.vertical ? Point2 {road.offset, at} : Point2 {at, road.offset};
            plan.plannedPoints.push_back({p.x, p.y, std::round(elevationAt(p.x, p.y) * 1000) / 1000});
        }
    }
    for (double y = plan.minY; y <= plan.maxY; y += 60) {
        for (double x = plan.minX; x <= plan.maxX; x += 60) {
            const double px = x + draw.between(-10, 10);
            const double py = y + draw.between(-10, 10);
            const double z = elevationAt(px, py) - 0.3 + draw.between(-0.2, 0.2);
            plan.existingPoints.push_back({px, py, std::round(z * 1000) / 1000});
        }
    }
    return plan;
}

} // namespace planroad::sample
