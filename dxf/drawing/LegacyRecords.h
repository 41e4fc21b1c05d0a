// Records of R12 files brought to the structure later versions need: subclass markers in their places.
#pragma once

#include <string_view>

#include "detail/RawTags.h"

namespace dxf::drawing {

// Whether the groups of a record already carry subclass markers (100), as from R2000 on.
bool hasSubclassMarkers(const arxhost::RawTags& tags);

// The groups of an R12 entity, table or table record of the given type with the subclass markers
// that R2000 and later put between them ("100 AcDbEntity", "100 AcDbTrace", ...), each group under
// its subclass. `parentFlags` is the POLYLINE's 70 for its VERTEX records. Records that have markers
// already, and types without a known structure, come back unchanged.
arxhost::RawTags withSubclassMarkers(std::wstring_view type, const arxhost::RawTags& tags, long parentFlags = 0);

} // namespace dxf::drawing
