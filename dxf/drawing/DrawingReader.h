// Reading a DXF drawing into the host's database.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "dbmain.h"

namespace dxf {

// Reads a whole drawing (ASCII or binary DXF, R12 to R2018) into a new database. Entities, tables,
// blocks, objects, extended data, extension dictionaries, groups, handles and owners become the host's
// objects; what the host does not model (entity and object types, header variables, classes, other
// sections, unknown groups) is kept to be written back. Throws dxf::ReadError with a one-line message
// naming the line (or byte) and the problem; nothing is returned for a file that is not read whole.
std::unique_ptr<AcDbDatabase> readDrawing(std::string_view data);
std::unique_ptr<AcDbDatabase> readDrawingFile(const std::filesystem::path& file);

} // namespace dxf
