// The curb-return radius annotation over whole road grids: the text run and the leader run of
// "QVDLYJBJBZ" on every entity of drawings of 2 500 and 5 000 crossings, timed per corner curve.
#include <benchmark/benchmark.h>

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

namespace {

namespace fs = std::filesystem;
using namespace planroad::sample;

// The corner standards of the default configuration, so that building the plan reads no file.
double standardOf(double w1, double w2)
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
        , mUserData(fs::temp_directory_path() / ("planroad-curb-bench-" + std::to_string(getpid())))
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
        std::string text;
        {
            SampleDrawing drawing = buildSampleDrawing(plan);
            text = dxf::writeDrawing(*drawing.database);
        }
        mSession->openDrawing(dxf::readDrawing(text), L"city.dxf");

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
    bool loaded() const { return mLoaded; }

    void type(const std::wstring& lines)
    {
        mSession->addInputText(lines);
        mSession->run();
        // The command line is not what is measured; keep it from growing over the iterations.
        mTranscript.str("");
        mStatus.str("");
    }

    // The run's labels in the drawing: the entities carrying its extended data.
    int labels()
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
            if (resbuf* data = entity->xData(L"FAPP_DLYQJBZ")) {
                ++count;
                acutRelRb(data);
            }
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
    bool mLoaded = false;
};

// One city at a time: a session is the process's current one, and the big drawings are costly to hold.
CityFixture& city(int crossings)
{
    static std::unique_ptr<CityFixture> current;
    if (!current || current->crossings() != crossings) {
        current.reset();
        current = std::make_unique<CityFixture>(crossings);
    }
    return *current;
}

// Annotates every entity of the drawing, then undoes the run outside the timing, so that each iteration
// meets the drawing unannotated.
void AnnotateCity(benchmark::State& state)
{
    const bool leaders = state.range(1) != 0;
    CityFixture& fixture = city(static_cast<int>(state.range(0)));
    if (!fixture.loaded()) {
        state.SkipWithError("the module did not load");
        return;
    }
    const std::wstring script = std::wstring(L"QVDLYJBJBZ\n")
        + (leaders ? L"!dialog check 222\n" : L"!dialog uncheck 222\n")
        + L"!dialog check 220\n!dialog check 221\n!dialog uncheck 224\n!dialog click 204\nALL\n\n";
    int labels = 0;
    bool restored = true;
    for (auto _ : state) {
        fixture.type(script);
        state.PauseTiming();
        labels = fixture.labels();
        fixture.type(L"U\n");
        restored = restored && fixture.labels() == 0;
        state.ResumeTiming();
    }
    if (!restored)
        state.SkipWithError("undoing the run left labels behind");
    // Every corner curve gets a label (a symmetric cut one, an asymmetric cut two, and no label where the
    // cut meets no road lines), so far fewer labels than curves means the run did not do its work.
    if (labels < fixture.cornerCurves() * 9 / 10)
        state.SkipWithError("the run made too few labels");
    state.counters["curves"] = fixture.cornerCurves();
    state.counters["labels"] = labels;
    state.counters["per_curve"] = benchmark::Counter(
        fixture.cornerCurves(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(AnnotateCity)
    ->ArgNames({"crossings", "leaders"})
    ->Args({2500, 0})
    ->Args({2500, 1})
    ->Args({5000, 0})
    ->Args({5000, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
