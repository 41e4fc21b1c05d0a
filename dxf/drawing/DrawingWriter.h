// Writing the host's database as a DXF drawing, and saving it safely.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "dbmain.h"
#include "dxf/TagWriter.h"

namespace dxf {

struct WriteOptions {
    Version version = Version::R2010;
    LineEnd lineEnd = LineEnd::CrLf;
};

// The drawing as ASCII DXF. Objects keep their handles; what the file it came from held beyond the
// host's model is written back. A drawing that lacks what the version needs (layouts for R2000 on)
// gets it first, so the database may gain objects.
std::string writeDrawing(AcDbDatabase& db, const WriteOptions& options = {});

// The same, handed to `sink` in chunks of about a megabyte as it is produced.
using OutputSink = std::function<void(std::string_view chunk)>;
void writeDrawing(AcDbDatabase& db, const WriteOptions& options, const OutputSink& sink);

// Saves the drawing: written to a new file in the same folder, flushed to disk, then renamed over the
// target, so that a failed save leaves the previous file as it was. Returns false with a one-line
// reason in `error`.
bool saveDrawingFile(
    AcDbDatabase& db, const std::filesystem::path& file, const WriteOptions& options, std::string& error);

// "R2000" ... "R2018" (also "AC1015" ... "AC1032", "2010"); false for anything else.
bool parseVersion(std::string_view text, Version& out);

} // namespace dxf
