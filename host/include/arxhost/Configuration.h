// The product family's configuration root as the running host session knows it.
#pragma once

#include <filesystem>

namespace arxhost {

// The configuration root of the current session (SessionOptions::configRoot: folders "common",
// "config", "standards"); empty when there is no session or the session was started without one.
std::filesystem::path configurationRoot();

} // namespace arxhost
