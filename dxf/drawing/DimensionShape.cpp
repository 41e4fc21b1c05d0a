#include "dxf/drawing/DimensionShape.h"

#include <cstdio>

#include "dbdim.h"

namespace dxf {

namespace {

void appendNumber(std::wstring& out, double value)
{
    wchar_t buffer[40];
    std::swprintf(buffer, std::size(buffer), L"%.17g;", value);
    out += buffer;
}

void appendPoint(std::wstring& out, const AcGePoint3d& p)
{
    appendNumber(out, p.x);
    appendNumber(out, p.y);
    appendNumber(out, p.z);
}

} // namespace

std::wstring dimensionShape(const AcDbRadialDimension& dimension)
{
    std::wstring shape;
    appendPoint(shape, dimension.center());
    appendPoint(shape, dimension.chordPoint());
    appendPoint(shape, dimension.hostLeaderEnd());
    appendNumber(shape, dimension.leaderLength());
    shape += dimension.isUsingDefaultTextPosition() ? L"default;" : L"moved;";
    appendPoint(shape, dimension.textPosition());
    appendNumber(shape, dimension.dimasz());
    appendNumber(shape, dimension.dimtxt());
    appendNumber(shape, dimension.dimscale());
    shape
        += std::to_wstring(dimension.dimtxsty().isNull() ? 0 : dimension.dimtxsty().handle().value()) + L";";
    shape += dimension.hostFormattedText().kwszPtr();
    return shape;
}

} // namespace dxf
