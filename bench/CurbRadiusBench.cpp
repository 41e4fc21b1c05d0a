// The curb-return radius annotation over whole road grids: the text run and the leader run of
// "QVDLYJBJBZ" on every entity of drawings of 2 500 and 5 000 crossings, timed per corner curve.
#include <benchmark/benchmark.h>

#include "CityFixture.h"

namespace {

using namespace planroad::bench;

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
        labels = fixture.tagged(L"FAPP_DLYQJBZ");
        fixture.type(L"U\n");
        restored = restored && fixture.tagged(L"FAPP_DLYQJBZ") == 0;
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
