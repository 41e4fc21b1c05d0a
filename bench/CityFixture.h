// A generated road grid opened in a host session with the module linked in, for the benchmarks of the
// module's commands over whole cities.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "SampleDrawing.h"
#include "arxHeaders.h"
#include "arxhost/Session.h"
#include "dxf/drawing/DrawingReader.h"
#include "dxf/drawing/DrawingWriter.h"
#include "rx/ModuleLoader.h"

extern "C" const char* const arxhostResourceFiles[];
extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt);
extern "C" BOOL DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);

namespace planroad::bench {

namespace fs = std::filesystem;
using namespace planroad::sample;

// The corner standards of the default configuration, so that building the plan reads no file.
inline double standardOf(double w1, double w2)
{
    auto grade = [](double w) { return w >= 40 ? 0 : w >= 24 ? 1 : w >= 12 ? 2 : 3; };
    static const std::map<std::pair<int, int>, double> table {
        {{0, 0}, 20}, {{0, 1}, 15}, {{0, 2}, 10}, {{1, 1}, 15}, {{1, 2}, 10}, {{2, 2}, 5}, {{3, 3}, 5}};
    const auto key = std::minmax(grade(w1), grade(w2));
    const auto found = table.find({key.first, key.second});
    return found == table.end() ? 0.0 : found->second;
}

// A road grid opened in a session with the module linked in, as the runner opens a saved drawing: the
// generated drawing goes through DXF first. The dialog data lives in a folder of its own.
class CityFixture {
public:
    explicit CityFixture(int crossings)
        : mCrossings(crossings)
        , mUserData(fs::temp_directory_path() / ("planroad-city-bench-" + std::to_string(getpid())))
    {
        arxhost::SessionOptions options;
        options.transcript = &mTranscript;
        options.statusBar = &mStatus;
        options.strict = false;
        options.configRoot = PLANROAD_CONFIG_DIR;
        options.userDataDir = mUserData;
        mSession = std::make_unique<arxhost::Session>(options);

        PlanOptions planOptions;
        planOptions.intersections = crossings;
        const Plan plan = makePlan(planOptions, standardOf);
        // What the run annotates with the curb and red-line boxes on: the curb returns, the rounded red
        // corners and the cuts drawn as polylines (line cuts are not selected).
        mCornerCurves = static_cast<int>(plan.curbCorners.size());
        for (const RedCorner& corner : plan.corners)
            mCornerCurves += corner.rounded || corner.cut.asPolyline ? 1 : 0;
        mRedCorners = static_cast<int>(plan.corners.size());
        {
            SampleDrawing drawing = buildSampleDrawing(plan);
            mDxf = dxf::writeDrawing(*drawing.database);
        }
        mSession->openDrawing(dxf::readDrawing(mDxf), L"city.dxf");

        std::vector<std::pair<std::string, std::string>> files;
        for (int i = 0; arxhostResourceFiles[i] != nullptr; i += 2)
            files.emplace_back(arxhostResourceFiles[i], arxhostResourceFiles[i + 1]);
        std::wstring error;
        mLoaded = mSession->modules().loadLinked(L"planroad.arx", &acrxEntryPoint, &DllMain, files, error);
    }
    ~CityFixture()
    {
        mSession.reset();
        std::error_code ignored;
        fs::remove_all(mUserData, ignored);
    }
    CityFixture(const CityFixture&) = delete;
    CityFixture& operator=(const CityFixture&) = delete;

    int crossings() const { return mCrossings; }
    int cornerCurves() const { return mCornerCurves; }
    // The red-line corners (rounded and cut) the corner-cut check looks at.
    int redCorners() const { return mRedCorners; }
    // The drawing as DXF text, as it was opened.
    const std::string& dxfText() const { return mDxf; }
    arxhost::Session& session() { return *mSession; }
    bool loaded() const { return mLoaded; }

    void type(const std::wstring& lines)
    {
        mSession->addInputText(lines);
        mSession->run();
        // The command line is not what is measured; keep it from growing over the iterations.
        mTranscript.str("");
        mStatus.str("");
    }

    // The entities of model space on the layer.
    int onLayer(const wchar_t* layer)
    {
        return countEntities([layer](AcDbEntity& entity) {
            ACHAR* name = entity.layer();
            const bool on = name != nullptr && std::wstring(name) == layer;
            acutDelString(name);
            return on;
        });
    }
    // The entities of model space carrying extended data of the application.
    int tagged(const wchar_t* app)
    {
        return countEntities([app](AcDbEntity& entity) {
            resbuf* data = entity.xData(app);
            const bool carries = data != nullptr;
            acutRelRb(data);
            return carries;
        });
    }
    template <class Test> int countEntities(const Test& test)
    {
        int count = 0;
        AcDbBlockTableRecord* space = nullptr;
        if (acdbOpenObject(space, mSession->database().modelSpaceId(), AcDb::kForRead) != Acad::eOk)
            return -1;
        AcDbBlockTableRecordIterator* iterator = nullptr;
        space->newIterator(iterator);
        for (iterator->start(); !iterator->done(); iterator->step()) {
            AcDbEntity* entity = nullptr;
            if (iterator->getEntity(entity, AcDb::kForRead) != Acad::eOk)
                continue;
            count += test(*entity) ? 1 : 0;
            entity->close();
        }
        delete iterator;
        space->close();
        return count;
    }

private:
    int mCrossings;
    fs::path mUserData;
    std::ostringstream mTranscript;
    std::ostringstream mStatus;
    std::unique_ptr<arxhost::Session> mSession;
    int mCornerCurves = 0;
    int mRedCorners = 0;
    std::string mDxf;
    bool mLoaded = false;
};

// One city at a time: a session is the process's current one, and the big drawings are costly to hold.
inline CityFixture& city(int crossings)
{
    static std::unique_ptr<CityFixture> current;
    if (!current || current->crossings() != crossings) {
        current.reset();
        current = std::make_unique<CityFixture>(crossings);
    }
    return *current;
}

} // namespace planroad::bench
