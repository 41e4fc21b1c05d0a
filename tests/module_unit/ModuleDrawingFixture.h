// A module session on a drawing of the test's own: per-user data and a configuration root in a scratch
// folder of the test, removed afterwards, and the layer roles set in the drawing's parameter store.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "CustomParameterStore.h"
#include "LinkedModule.h"

namespace planroad::test {

class ModuleDrawingFixture : public LinkedModuleFixture {
protected:
    void adjustOptions(arxhost::SessionOptions& options) override
    {
        mDataDir = std::filesystem::temp_directory_path()
            / ("planroad-module-" + std::to_string(::getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(mDataDir);
        std::filesystem::create_directories(mDataDir / "config" / "common");
        options.userDataDir = mDataDir / "user";
        options.configRoot = mDataDir / "config";
    }
    void TearDown() override
    {
        LinkedModuleFixture::TearDown();
        std::filesystem::remove_all(mDataDir);
    }

    // Gives the layer role of the parameter store's key the layer.
    static void setRole(const wchar_t* key, const wchar_t* layer)
    {
        LAYERPARAM role;
        role.strName = layer;
        TarnDB::qvSetLayerParam(key, role);
    }

    // The current view's centre and height.
    static AcGePoint3d viewCentre()
    {
        resbuf value = {};
        acedGetVar(L"VIEWCTR", &value);
        return AcGePoint3d(value.resval.rpoint[0], value.resval.rpoint[1], 0);
    }
    static double viewSize()
    {
        resbuf value = {};
        acedGetVar(L"VIEWSIZE", &value);
        return value.resval.rreal;
    }

    std::filesystem::path mDataDir;
};

} // namespace planroad::test
