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
};

} // namespace planroad::test
