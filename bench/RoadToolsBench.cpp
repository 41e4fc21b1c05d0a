// The road centreline tools over whole road grids: "FDLDMDataDeal" converting every centreline's coded
// cross-section and "FROADWIDTHCHECK" listing every centreline with its width, on drawings of about
// 20 000 and 40 000 centrelines.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "CityFixture.h"
#include "ExtendedDataLibrary.h"
#include "centreline/RoadWidthCheckDlg.h"

namespace {

using namespace planroad::bench;

// Coded cross-sections of one to four panels, given to the centrelines in turn: the generated city's own
// coded forms are mostly too short to be converted.
constexpr std::array<const wchar_t*, 4> kCodedSections {L"rx5cx7cx7rx5", L"rx4cx10fg2cx10rx4",
    L"rx3fjd3.5fd0.5fg2cx7cx7fg2fd0.5fjd3.5rx3", L"rx3fd0.5fjd3cx3.5fg2cx8fg2cx8fg2cx3.5fjd3.5rx3"};

// The city's centrelines, every one given a coded cross-section once per city.
int prepareCentrelines(CityFixture& fixture)
{
    static int preparedCrossings = -1;
    static int centrelines = 0;
    if (preparedCrossings == fixture.crossings())
        return centrelines;
    std::vector<AcDbObjectId> ids;
    fixture.countEntities([&ids](AcDbEntity& entity) {
        resbuf* data = entity.xData(L"FAPP_DLZX");
        if (data != nullptr)
            ids.push_back(entity.objectId());
        acutRelRb(data);
        return false;
    });
    for (std::size_t i = 0; i < ids.size(); ++i) {
        CString label;
        CString value;
        ARX_DATA::CFGisXData::GetFrom(ids[i], L"FS_DLDM", value, label);
        ARX_DATA::CFGisXData::SetTo(ids[i], L"FS_DLDM", kCodedSections[i % kCodedSections.size()], label);
    }
    preparedCrossings = fixture.crossings();
    centrelines = static_cast<int>(ids.size());
    return centrelines;
}

// Centrelines whose cross-section is in the plain form.
int plainSections(CityFixture& fixture)
{
    return fixture.countEntities([](AcDbEntity& entity) {
        CString value;
        return ARX_DATA::CFGisXData::GetFrom(entity.objectId(), L"FS_DLDM", value) != 0
            && value.Find(L'+') >= 0;
    });
}

void perCentreline(benchmark::State& state, int centrelines)
{
    state.counters["centrelines"] = centrelines;
    state.counters["per_centreline"] = benchmark::Counter(
        centrelines, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// One conversion of every centreline; it is undone outside the timing.
void ConvertSections(benchmark::State& state)
{
    CityFixture& fixture = city(static_cast<int>(state.range(0)));
    if (!fixture.loaded()) {
        state.SkipWithError("the module did not load");
        return;
    }
    const int centrelines = prepareCentrelines(fixture);
    int converted = -1;
    for (auto _ : state) {
        fixture.type(L"FDLDMDataDeal\n");
        state.PauseTiming();
        if (converted < 0)
            converted = plainSections(fixture);
        fixture.type(L"U\n");
        state.ResumeTiming();
    }
    if (converted != centrelines || plainSections(fixture) != 0)
        state.SkipWithError("not every centreline was converted, or the undo left some converted");
    perCentreline(state, centrelines);
}

// One width check: every centreline of the centreline layer collected and listed in the dialog.
void CheckWidths(benchmark::State& state)
{
    CityFixture& fixture = city(static_cast<int>(state.range(0)));
    if (!fixture.loaded()) {
        state.SkipWithError("the module did not load");
        return;
    }
    const int centrelines = prepareCentrelines(fixture);
    for (auto _ : state)
        fixture.type(L"FROADWIDTHCHECK\n");
    if (g_pRoadWidthCheckDlg == nullptr || g_pRoadWidthCheckDlg->m_list.GetItemCount() != centrelines)
        state.SkipWithError("the list does not hold every centreline");
    perCentreline(state, centrelines);
}

// A grid of n crossings has about n + 2 sqrt(n) centrelines: half of the roads are drawn as one line per
// stretch between crossings.
BENCHMARK(ConvertSections)
    ->ArgName("crossings")
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);
BENCHMARK(CheckWidths)
    ->ArgName("crossings")
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
