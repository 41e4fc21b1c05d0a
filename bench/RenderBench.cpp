// Pictures of generated cities: the extents drawn to PNG, and a street-sized window through the index.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "SampleDrawing.h"
#include "arxHeaders.h"
#include "arxhost/Session.h"
#include "render/Renderer.h"

namespace {

namespace fs = std::filesystem;

// A generated city of the given number of crossings, open in a session of its own.
struct City {
    std::ostringstream transcript;
    std::ostringstream status;
    std::unique_ptr<arxhost::Session> session;

    explicit City(int crossings)
    {
        arxhost::SessionOptions options;
        options.transcript = &transcript;
        options.statusBar = &status;
        options.strict = false;
        session = std::make_unique<arxhost::Session>(options);
        planroad::sample::PlanOptions plan;
        plan.intersections = crossings;
        // Every corner gets the same standard: the picture does not depend on it.
        planroad::sample::SampleDrawing drawing = planroad::sample::buildSampleDrawing(
            planroad::sample::makePlan(plan, [](double, double) { return 10.0; }));
        session->openDrawing(std::move(drawing.database), L"city.dxf");
    }
};

fs::path pictureFile()
{
    return fs::temp_directory_path() / ("planroad-render-bench-" + std::to_string(getpid()) + ".png");
}

void renderWindow(benchmark::State& state, bool extents)
{
    City city(static_cast<int>(state.range(0)));
    AcDbDatabase& db = city.session->database();
    arxhost::render::ViewWindow view = arxhost::render::extentsView(db, 1600, 1200);
    if (!extents)
        view.height = 200; // one crossing and its corners
    const fs::path file = pictureFile();
    std::size_t drawn = 0;
    for (auto _ : state) {
        std::string error;
        arxhost::render::RenderOptions options;
        options.center = view.center;
        options.viewHeight = view.height;
        arxhost::render::Renderer renderer(db, options);
        if (!renderer.render(file, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        drawn = renderer.stats().entities;
    }
    state.counters["entities"] = static_cast<double>(drawn);
    std::error_code ec;
    fs::remove(file, ec);
}

void BM_RenderExtents(benchmark::State& state)
{
    renderWindow(state, true);
}
void BM_RenderStreetWindow(benchmark::State& state)
{
    renderWindow(state, false);
}

} // namespace

BENCHMARK(BM_RenderExtents)->Arg(9)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderStreetWindow)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
