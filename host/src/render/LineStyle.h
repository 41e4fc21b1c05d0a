// How an entity's linetype and lineweight show on the host's screen.
#pragma once

#include <vector>

class AcDbLinetypeTableRecord;

namespace arxhost::render {

// The linetype's pattern as alternating drawn and skipped lengths in drawing units, starting with a
// drawn one (a dot is a drawn length of 0), each `scale` times the definition; empty for a continuous
// linetype or one without gaps.
std::vector<double> dashPattern(const AcDbLinetypeTableRecord* linetype, double scale);

// The pixels a lineweight (hundredths of a millimetre) is drawn with when lineweights are displayed:
// one up to 0.25 mm, then in proportion at 96 pixels an inch.
int lineweightPixels(int hundredthsOfMillimetre);

} // namespace arxhost::render
