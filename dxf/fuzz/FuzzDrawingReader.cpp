// libFuzzer target: whole drawings read into the host's database, and what was read written and read again.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "dxf/ReadError.h"
#include "dxf/drawing/DrawingReader.h"
#include "dxf/drawing/DrawingWriter.h"

namespace {

// Stops the run with a finding, saying what went wrong.
[[noreturn]] void finding(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "finding: %s: %s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<AcDbDatabase> db;
    try {
        db = dxf::readDrawing(input);
    } catch (const dxf::ReadError&) {
        return 0; // not a drawing: the expected outcome for most inputs
    }
    // A drawing we accepted must give a file we accept. The version follows from the input so that
    // every version is written over a run and a finding reproduces from its input alone.
    static constexpr std::array versions {dxf::Version::R2000, dxf::Version::R2004, dxf::Version::R2007,
        dxf::Version::R2010, dxf::Version::R2013, dxf::Version::R2018};
    dxf::WriteOptions options;
    options.version = versions[size % versions.size()];
    options.lineEnd = size % 2 == 0 ? dxf::LineEnd::CrLf : dxf::LineEnd::Lf;
    std::string written;
    try {
        written = dxf::writeDrawing(*db, options);
    } catch (const dxf::ReadError& error) {
        finding("writing a drawing that was read failed", error.what());
    }
    try {
        (void)dxf::readDrawing(written);
    } catch (const dxf::ReadError& error) {
        finding("the written drawing does not read", error.what());
    }
    return 0;
}
