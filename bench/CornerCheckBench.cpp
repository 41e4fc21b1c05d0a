// The corner-cut check over whole road grids: "FDeal_RoadYqjCheck" and "FDeal_RoadYqjDimCheck" on every
// corner of drawings of 2 500 and 5 000 crossings (10 000 and 20 000 red-line corners), against the time
// it takes to load the same drawing from DXF.
#include <benchmark/benchmark.h>

#include "CityFixture.h"
#include "dxf/drawing/DrawingReader.h"

namespace {

using namespace planroad::bench;

// Loading the city's DXF text into a database: the yardstick the check is held to.
void LoadCity(benchmark::State& state)
{
    CityFixture& fixture = city(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<AcDbDatabase> db = dxf::readDrawing(fixture.dxfText());
        benchmark::DoNotOptimize(db.get());
        state.PauseTiming();
        db.reset();
        state.ResumeTiming();
    }
    state.counters["corners"] = fixture.redCorners();
    state.counters["MB"] = static_cast<double>(fixture.dxfText().size()) / 1e6;
}

// One check of every corner cut, answered as a user checking the whole drawing would; the marks it draws
// are undone outside the timing.
void CheckCity(benchmark::State& state)
{
    const bool dimensionCheck = state.range(1) != 0;
    CityFixture& fixture = city(static_cast<int>(state.range(0)));
    if (!fixture.loaded()) {
        state.SkipWithError("the module did not load");
        return;
    }
    const std::wstring script
        = std::wstring(dimensionCheck ? L"FDeal_RoadYqjDimCheck\n" : L"FDeal_RoadYqjCheck\n")
        + L"N\nS\nALL\n\n";
    const wchar_t* const errorLayer = L"FL_ERROR_切角标注检测";
    int marks = 0;
    for (auto _ : state) {
        fixture.type(script);
        state.PauseTiming();
        marks = fixture.onLayer(errorLayer);
        fixture.type(L"U\n");
        state.ResumeTiming();
    }
    // The generated city has a share of wrong corners in each of the check's ways: no marks means the
    // check found nothing to check.
    if (marks == 0)
        state.SkipWithError("the check marked no error");
    state.counters["corners"] = fixture.redCorners();
    state.counters["marks"] = marks;
    state.counters["per_corner"] = benchmark::Counter(
        fixture.redCorners(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(LoadCity)->ArgName("crossings")->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(CheckCity)
    ->ArgNames({"crossings", "dimension"})
    ->Args({2500, 0})
    ->Args({2500, 1})
    ->Args({5000, 0})
    ->Args({5000, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
