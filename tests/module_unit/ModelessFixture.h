// A host session with the module linked in, whose resource script a test may alter, whose per-user data
// lives in a folder of the test's own, and which a test may end and start again.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "HostFixture.h"
#include "arxHeaders.h"
#include "arxhost/Session.h"
#include "editor/Transcript.h"
#include "rx/ModuleLoader.h"
#include "rxmfcapi.h"

extern "C" const char* const arxhostResourceFiles[];
extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt);
extern "C" BOOL DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);

namespace planroad::test {

// The module's resource files as the build embedded them: name and text, the script first.
inline std::vector<std::pair<std::string, std::string>> embeddedResourceFiles()
{
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; arxhostResourceFiles[i] != nullptr; i += 2)
        files.emplace_back(arxhostResourceFiles[i], arxhostResourceFiles[i + 1]);
    return files;
}

class ModelessFixture : public ::testing::Test {
protected:
    using ScriptEdit = std::function<void(std::string& script)>;

    void SetUp() override
    {
        mDataDir = std::filesystem::temp_directory_path()
            / ("planroad-modeless-" + std::to_string(getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(mDataDir);
        startSession();
    }
    void TearDown() override
    {
        endSession();
        std::filesystem::remove_all(mDataDir);
    }

    // Ends the current session (which unloads the module) and starts a new one with the module loaded,
    // its resource script first changed by `edit` when one is given.
    void startSession(const ScriptEdit& edit = {})
    {
        endSession();
        mOut.str("");
        arxhost::SessionOptions options;
        options.transcript = &mOut;
        options.strict = true;
        options.userDataDir = mDataDir;
        mSession = std::make_unique<arxhost::Session>(options);
        std::vector<std::pair<std::string, std::string>> files = embeddedResourceFiles();
        if (edit)
            edit(files.front().second);
        std::wstring error;
        ASSERT_TRUE(mSession->modules().loadLinked(L"planroad.arx", &acrxEntryPoint, &DllMain, files, error));
    }
    void endSession() { mSession.reset(); }

    arxhost::Session& session() { return *mSession; }
    std::wstring transcript() const { return mSession->transcript().text(); }
    // The command line from the last occurrence of `marker` on.
    std::wstring transcriptFromLast(const std::wstring& marker) const
    {
        const std::wstring text = transcript();
        const std::size_t at = text.rfind(marker);
        return at == std::wstring::npos ? std::wstring() : text.substr(at);
    }
    // Types the lines (an empty one is Enter) and runs the command prompt until they are used up.
    void type(const std::wstring& lines)
    {
        mSession->addInputText(lines);
        mSession->run();
    }
    std::size_t resourceDepth() { return mSession->modules().resourceDepth(); }

    std::filesystem::path mDataDir;

private:
    std::ostringstream mOut;
    std::unique_ptr<arxhost::Session> mSession;
};

// How often `part` occurs in `text`.
inline int occurrencesIn(const std::wstring& text, const std::wstring& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

} // namespace planroad::test
