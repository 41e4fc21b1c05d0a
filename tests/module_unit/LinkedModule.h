// The module linked into the test program, loaded into a host session without its shared object.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "HostFixture.h"
#include "rx/ModuleLoader.h"

extern "C" const char* const arxhostResourceFiles[];
extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt);
extern "C" BOOL DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);

namespace planroad::test {

class LinkedModuleFixture : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        std::vector<std::pair<std::string, std::string>> files;
        for (int i = 0; arxhostResourceFiles[i] != nullptr; i += 2)
            files.emplace_back(arxhostResourceFiles[i], arxhostResourceFiles[i + 1]);
        std::wstring error;
        ASSERT_TRUE(session().modules().loadLinked(L"planroad.arx", &acrxEntryPoint, &DllMain, files, error))
            << error.size();
    }

    // The command line from the last occurrence of marker on.
    std::wstring transcriptFromLast(const std::wstring& marker) const
    {
        const std::wstring text = transcript();
        const std::size_t at = text.rfind(marker);
        return at == std::wstring::npos ? std::wstring() : text.substr(at);
    }
    // How often part occurs in text.
    static int timesIn(const std::wstring& text, const std::wstring& part)
    {
        int count = 0;
        for (std::size_t at = text.find(part); at != std::wstring::npos;
             at = text.find(part, at + part.size()))
            ++count;
        return count;
    }
};

} // namespace planroad::test
