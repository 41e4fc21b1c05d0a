// The configuration root that components ask the host for.
#include <sstream>

#include <gtest/gtest.h>

#include "arxhost/Configuration.h"
#include "arxhost/Session.h"

namespace planroad::test {
namespace {

TEST(ConfigurationRoot, IsTheRootOfTheRunningSessionAndEmptyWithoutOne)
{
    EXPECT_TRUE(arxhost::configurationRoot().empty());
    {
        std::ostringstream out;
        arxhost::SessionOptions options;
        options.transcript = &out;
        options.configRoot = std::filesystem::path("roads") / "config";
        arxhost::Session session(options);
        EXPECT_EQ(std::filesystem::path("roads") / "config", arxhost::configurationRoot());
    }
    EXPECT_TRUE(arxhost::configurationRoot().empty());
    {
        std::ostringstream out;
        arxhost::SessionOptions options;
        options.transcript = &out;
        arxhost::Session session(options);
        EXPECT_TRUE(arxhost::configurationRoot().empty());
    }
}

} // namespace
} // namespace planroad::test
