// Writes a cairo image surface as a PNG file, tuned for drawings: fast compression of long runs.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <string>

namespace arxhost::render {

// The RGB24 or ARGB32 surface as an 8-bit RGB PNG (alpha dropped). False with the reason in `error` when
// the file cannot be written; a partly written file is removed.
bool writePng(cairo_surface_t* surface, const std::filesystem::path& file, std::string& error);

} // namespace arxhost::render
