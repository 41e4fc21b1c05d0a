// Drawing-file data the host keeps without modelling it: group codes with their values as text.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace arxhost {

// One group of a drawing file: its code and its value as text (UTF-8, numbers as they were written),
// so that it can be written back as it was read.
struct RawTag {
    short code = 0;
    std::string value;
    bool operator==(const RawTag& other) const = default;
};

using RawTags = std::vector<RawTag>;
using SharedRawTags = std::shared_ptr<const RawTags>;

} // namespace arxhost
