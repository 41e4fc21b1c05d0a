// What a dimension's geometry block must show, as one comparable text.
#pragma once

#include <string>

class AcDbRadialDimension;

namespace dxf {

// The dimension's points, leader, text and the sizes its block is drawn with: two dimensions with the same
// shape draw the same block.
std::wstring dimensionShape(const AcDbRadialDimension& dimension);

} // namespace dxf
