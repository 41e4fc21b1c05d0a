#include "render/LineStyle.h"

#include <algorithm>
#include <cmath>

#include "dbsymtb.h"

namespace arxhost::render {

std::vector<double> dashPattern(const AcDbLinetypeTableRecord* linetype, double scale)
{
    std::vector<double> pattern;
    if (linetype == nullptr || !(scale > 0))
        return pattern;
    bool anyGap = false;
    for (int i = 0; i < linetype->numDashes(); ++i) {
        const double dash = linetype->dashLengthAt(i);
        const bool drawn = dash >= 0;
        anyGap = anyGap || !drawn;
        // Entries alternate drawn, skipped, ...: a run of the same kind adds up.
        const bool nextIsDrawn = pattern.size() % 2 == 0;
        if (drawn != nextIsDrawn) {
            if (pattern.empty())
                pattern.push_back(0.0); // the pattern starts with a gap: a drawn length of nothing first
            else {
                pattern.back() += std::abs(dash) * scale;
                continue;
            }
        }
        pattern.push_back(std::abs(dash) * scale);
    }
    if (!anyGap)
        return {};
    return pattern;
}

int lineweightPixels(int hundredthsOfMillimetre)
{
    if (hundredthsOfMillimetre <= 25)
        return 1;
    return std::max(1, static_cast<int>(std::lround(hundredthsOfMillimetre / 100.0 * 96.0 / 25.4)));
}

} // namespace arxhost::render
