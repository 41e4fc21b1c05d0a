// The colour index palette: nine fixed colours, 24 hues in ten shades each, and six greys.
#include "render/AciPalette.h"

#include <array>
#include <cmath>

namespace arxhost::render {

namespace {

std::uint8_t channel(double v)
{
    return static_cast<std::uint8_t>(std::lround(std::fmin(255.0, std::fmax(0.0, v))));
}

// Indices 10..249: the hue steps by 15 degrees every ten indices; within a hue, pairs of indices share a
// brightness (255, 165, 127, 76, 38) and the odd one of each pair is the half-saturated tint.
Rgb shaded(int index)
{
    static constexpr std::array<double, 5> kValues {255, 165, 127, 76, 38};
    const double hue = (index / 10 - 1) * 15.0;
    const double value = kValues[static_cast<std::size_t>((index % 10) / 2)];
    const double low = index % 2 == 1 ? value / 2 : 0.0;
    const double sector = hue / 60.0;
    const int which = static_cast<int>(sector);
    const double f = sector - which;
    const double rising = low + (value - low) * f;
    const double falling = value - (value - low) * f;
    double r = 0, g = 0, b = 0;
    switch (which) {
    case 0:
        r = value, g = rising, b = low;
        break;
    case 1:
        r = falling, g = value, b = low;
        break;
    case 2:
        r = low, g = value, b = rising;
        break;
    case 3:
        r = low, g = falling, b = value;
        break;
    case 4:
        r = rising, g = low, b = value;
        break;
    default:
        r = value, g = low, b = falling;
        break;
    }
    return {channel(r), channel(g), channel(b)};
}

} // namespace

Rgb aciColor(int index, bool lightBackground)
{
    static constexpr std::array<Rgb, 10> kFixed {Rgb {255, 255, 255}, Rgb {255, 0, 0}, Rgb {255, 255, 0},
        Rgb {0, 255, 0}, Rgb {0, 255, 255}, Rgb {0, 0, 255}, Rgb {255, 0, 255}, Rgb {255, 255, 255},
        Rgb {128, 128, 128}, Rgb {192, 192, 192}};
    static constexpr std::array<std::uint8_t, 6> kGreys {51, 80, 105, 130, 190, 255};
    if (index < 1 || index > 255 || index == 7)
        return lightBackground ? Rgb {0, 0, 0} : Rgb {255, 255, 255};
    if (index < 10)
        return kFixed[static_cast<std::size_t>(index)];
    if (index >= 250) {
        const std::uint8_t g = kGreys[static_cast<std::size_t>(index - 250)];
        return {g, g, g};
    }
    return shaded(index);
}

} // namespace arxhost::render
