// A picture of a whole city against loading it: a generated city of road crossings saved as DXF, loaded,
// then its extents drawn to a large PNG, twice after each load (best of three loads; the first picture
// after a load is reported on its own line), and a street-sized window, which the spatial index serves
// (the first one after a load builds the index).
//
// usage: render_vs_load_bench [CROSSINGS [SIZE]]   (default 10000 crossings, a 4000 x 4000 picture)
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "SampleDrawing.h"
#include "arxHeaders.h"
#include "dxf/drawing/DrawingReader.h"
#include "dxf/drawing/DrawingWriter.h"
#include "render/Renderer.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The extents (or, with a window height, a window of that height at their centre) drawn to the file.
bool renderView(AcDbDatabase& db, int size, const fs::path& file, std::size_t& drawn, double windowHeight = 0)
{
    arxhost::render::ViewWindow view = arxhost::render::extentsView(db, size, size);
    if (windowHeight > 0)
        view.height = windowHeight;
    arxhost::render::RenderOptions options;
    options.width = size;
    options.height = size;
    options.center = view.center;
    options.viewHeight = view.height;
    arxhost::render::Renderer renderer(db, options);
    std::string error;
    if (!renderer.render(file, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    drawn = renderer.stats().entities;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int crossings = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int size = argc > 2 ? std::atoi(argv[2]) : 4000;
    const fs::path dir = fs::temp_directory_path() / ("planroad-render-load-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path drawing = dir / "city.dxf";
    const fs::path pictureFile = dir / "city.png";
    const fs::path windowFile = dir / "window.png";

    {
        planroad::sample::PlanOptions plan;
        plan.intersections = crossings;
        planroad::sample::SampleDrawing city = planroad::sample::buildSampleDrawing(
            planroad::sample::makePlan(plan, [](double, double) { return 10.0; }));
        std::string error;
        if (!dxf::saveDrawingFile(*city.database, drawing, {}, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    std::printf("city: %d crossings, %.1f MB of DXF; picture %d x %d\n", crossings,
        static_cast<double>(fs::file_size(drawing)) / 1e6, size, size);

    constexpr int kRuns = 3;
    double load = INFINITY;
    double firstPicture = INFINITY;
    double picture = INFINITY;
    double firstWindow = INFINITY;
    double window = INFINITY;
    std::size_t drawn = 0;
    std::size_t drawnInWindow = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        std::unique_ptr<AcDbDatabase> db = dxf::readDrawingFile(drawing);
        load = std::min(load, secondsSince(start));
        if (!db) {
            std::fprintf(stderr, "the saved city does not load\n");
            return 1;
        }
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
        start = Clock::now();
        if (!renderView(*db, size, pictureFile, drawn))
            return 1;
        firstPicture = std::min(firstPicture, secondsSince(start));
        start = Clock::now();
        if (!renderView(*db, size, pictureFile, drawn))
            return 1;
        picture = std::min(picture, secondsSince(start));
        for (double* best : {&firstWindow, &window}) {
            start = Clock::now();
            if (!renderView(*db, size, windowFile, drawnInWindow, 300.0))
                return 1;
            *best = std::min(*best, secondsSince(start));
        }
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    }
    std::printf("load from DXF:                       %7.3f s\n", load);
    std::printf("picture of the extents:              %7.3f s  (%zu entities, PNG %.1f MB)\n", picture, drawn,
        static_cast<double>(fs::file_size(pictureFile)) / 1e6);
    std::printf("first picture after the load:        %7.3f s\n", firstPicture);
    std::printf("picture / load:                      %7.2f\n", picture / load);
    std::printf("a 300-unit window, first after load: %7.3f s  (builds the spatial index)\n", firstWindow);
    std::printf("a 300-unit window:                   %7.3f s  (%zu entities)\n", window, drawnInWindow);
    fs::remove_all(dir);
    return 0;
}
