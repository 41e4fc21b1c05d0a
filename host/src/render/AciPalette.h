// The host's 256-entry colour index palette and how an entity's colour resolves to a screen colour.
#pragma once

#include <cstdint>

namespace arxhost::render {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The screen colour of a colour index 1..255 (7 is white on a dark background, black on a light one).
// Indices outside 1..255 (0 ByBlock, 256 ByLayer, 257 none) show as colour 7: the caller resolves them
// before asking.
Rgb aciColor(int index, bool lightBackground);

} // namespace arxhost::render
