// Helpers of the library stand-ins' tests: drawings saved and read back, scratch files, configured sessions.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "arxHeaders.h"
#include "arxhost/Session.h"
#include "dxf/drawing/DrawingReader.h"
#include "dxf/drawing/DrawingWriter.h"

namespace planroad::test {

namespace fs = std::filesystem;

// The drawing as another session would see it after a save to DXF and a new read.
inline std::unique_ptr<AcDbDatabase> savedAndReadBack(AcDbDatabase& db)
{
    return dxf::readDrawing(dxf::writeDrawing(db));
}

// The DXF text with the records added at the end of its ENTITIES section.
inline std::string withEntities(std::string dxf, std::string_view records)
{
    const std::size_t section = dxf.find("ENTITIES");
    const std::size_t end = dxf.find("ENDSEC", section);
    if (section == std::string::npos || end == std::string::npos)
        return dxf;
    // Back to the start of the "  0" line in front of ENDSEC.
    const std::size_t codeLine = dxf.rfind('\n', dxf.rfind('\n', end) - 1) + 1;
    dxf.insert(codeLine, records);
    return dxf;
}

// A folder of its own for one test, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder()
    {
        static int count = 0;
        mPath = fs::temp_directory_path()
            / ("planroad-library-" + std::to_string(getpid()) + "-" + std::to_string(++count));
        fs::create_directories(mPath);
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        fs::remove_all(mPath, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& path() const { return mPath; }
    // Writes the bytes to the file below the folder (folders made as needed) and returns its path.
    fs::path write(const fs::path& name, std::string_view bytes) const
    {
        const fs::path file = mPath / name;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

private:
    fs::path mPath;
};

// A host session whose configuration root is the given folder (none when empty).
class ConfiguredSession {
public:
    explicit ConfiguredSession(const fs::path& configRoot)
    {
        arxhost::SessionOptions options;
        options.transcript = &mOut;
        options.statusBar = &mOut;
        options.configRoot = configRoot;
        mSession = std::make_unique<arxhost::Session>(options);
    }
    arxhost::Session& session() { return *mSession; }

private:
    std::ostringstream mOut;
    std::unique_ptr<arxhost::Session> mSession;
};

// The repository's configuration root, the one the build installs.
inline fs::path repositoryConfig()
{
    return fs::path(PLANROAD_CONFIG_DIR);
}

} // namespace planroad::test
