// Loading and saving a large drawing, measured against two other DXF readers on the same file:
// ezdxf (Python, builds a document) and dxflib (C++, a streaming parser that builds nothing).
//
// usage: dxf_drawing_bench [MEGABYTES]   (default 50)
//        dxf_drawing_bench --generate MEGABYTES FILE   (writes the generated drawing)
//        dxf_drawing_bench --load-only FILE
//        dxf_drawing_bench --resave FILE OUT   (load and save, for profiling)
// Prints MB/s of our load and save, the same for the other readers, the ratios, and the peak memory
// of a load in a process of its own, relative to the file size.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include "arxHeaders.h"
#include "db/DatabaseImpl.h"
#include "dxf/drawing/DrawingReader.h"
#include "dxf/drawing/DrawingWriter.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A road drawing's mix: lines, arcs, polylines with bulges, texts with Chinese labels, extended data.
std::unique_ptr<AcDbDatabase> generate(double megabytes)
{
    auto db = std::make_unique<AcDbDatabase>();
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    services->setWorkingDatabase(db.get());
    acdbRegApp(L"FAPP_DLZX");
    AcDbLayerTable* layers = nullptr;
    db->getLayerTable(layers, AcDb::kForWrite);
    for (const wchar_t* name : {L"DL-道路中线", L"DL-道路红线", L"DL-道路边线", L"标注"}) {
        auto* layer = new AcDbLayerTableRecord();
        layer->setName(name);
        layers->add(layer);
        layer->close();
    }
    layers->close();
    AcDbBlockTableRecord* space = nullptr;
    acdbOpenObject(space, db->modelSpaceId(), AcDb::kForWrite);
    std::mt19937 random(20261205);
    std::uniform_real_distribution<double> place(0, 100000);
    // About 190 bytes of DXF per entity on average for this mix.
    const long count = static_cast<long>(megabytes * 1e6 / 190);
    for (long i = 0; i < count; ++i) {
        const double x = place(random);
        const double y = place(random);
        AcDbEntity* entity = nullptr;
        switch (i % 8) {
        case 0:
        case 1:
        case 2:
            entity = new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 37.25, y + 12.5, 0));
            break;
        case 3:
            entity = new AcDbArc(AcGePoint3d(x, y, 0), 12.5, 0.25, 1.75);
            break;
        case 4: {
            auto* pline = new AcDbPolyline();
            pline->addVertexAt(0, AcGePoint2d(x, y));
            pline->addVertexAt(1, AcGePoint2d(x + 20, y), 0.4142);
            pline->addVertexAt(2, AcGePoint2d(x + 20, y + 20));
            entity = pline;
            break;
        }
        case 5:
            entity = new AcDbText(AcGePoint3d(x, y, 0), L"Q 15.00", AcDbObjectId::kNull, 2.5, 0.5);
            break;
        case 6:
            entity = new AcDbText(AcGePoint3d(x, y, 0), L"人民路", AcDbObjectId::kNull, 3.0, 0);
            break;
        default: {
            auto* centre = new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 100, y, 0));
            resbuf* data = acutBuildList(1001, L"FAPP_DLZX", 1000, L"道路中线", 0);
            centre->setXData(data);
            acutRelRb(data);
            entity = centre;
        }
        }
        entity->setLayer(i % 8 == 7 ? L"DL-道路中线" : (i % 8 >= 5 ? L"标注" : L"DL-道路边线"));
        space->appendAcDbEntity(entity);
        entity->close();
    }
    space->close();
    return db;
}

// Everything dxflib reports, counted and dropped: its bare parse of the file.
class CountingAdapter : public DL_CreationAdapter {
public:
    void addLine(const DL_LineData&) override { ++entities; }
    void addArc(const DL_ArcData&) override { ++entities; }
    void addText(const DL_TextData&) override { ++entities; }
    void addPolyline(const DL_PolylineData&) override { ++entities; }
    void addVertex(const DL_VertexData&) override { ++vertices; }
    long entities = 0;
    long vertices = 0;
};

// The peak memory of a fresh process that loads the file and nothing else.
long peakKilobytesOfChildLoad(const std::filesystem::path& file)
{
    pid_t child = fork();
    if (child == 0) {
        execl(
            "/proc/self/exe", "dxf_drawing_bench", "--load-only", file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // wait4 gives this child's own usage, not the largest of all children (the Python reader's).
    int status = 0;
    struct rusage usage { };
    wait4(child, &status, 0, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--generate") {
        auto db = generate(std::atof(argv[2]));
        std::string error;
        return dxf::saveDrawingFile(*db, argv[3], {}, error) ? 0 : 1;
    }
    if (argc == 3 && std::string(argv[1]) == "--load-only") {
        auto db = dxf::readDrawingFile(argv[2]);
        return db ? 0 : 1;
    }
    if (argc == 4 && std::string(argv[1]) == "--resave") {
        auto db = dxf::readDrawingFile(argv[2]);
        std::string error;
        return dxf::saveDrawingFile(*db, argv[3], {}, error) ? 0 : 1;
    }
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 50.0;
    const std::filesystem::path dir
        = std::filesystem::temp_directory_path() / ("planroad-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "city.dxf";
    const std::filesystem::path saved = dir / "saved.dxf";

    {
        auto db = generate(megabytes);
        std::string error;
        dxf::saveDrawingFile(*db, file, {}, error);
    }
    const double size = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
    std::printf("drawing: %.1f MB\n", size);

    // Best of three runs each, so that other work on the machine does not count against us (or them).
    constexpr int kRuns = 3;
    double load = INFINITY;
    double save = INFINITY;
    double indexBuild = INFINITY;
    int objects = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        auto db = dxf::readDrawingFile(file);
        load = std::min(load, secondsSince(start));
        objects = db->approxNumObjects();

        start = Clock::now();
        std::string error;
        if (!dxf::saveDrawingFile(*db, saved, {}, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        save = std::min(save, secondsSince(start));

        // Loading leaves the spatial index to the first selection; this is what that first one costs.
        start = Clock::now();
        db->impl().index().query(arxhost::Box2d {0, 0, 1000, 1000});
        indexBuild = std::min(indexBuild, secondsSince(start));
    }
    std::printf("our load:       %7.3f s  %7.1f MB/s  (%d objects)\n", load, size / load, objects);
    std::printf("our save:       %7.3f s  %7.1f MB/s\n", save, size / save);
    std::printf("first selection after a load (builds the spatial index): %.3f s\n", indexBuild);

    double dxflibLoad = INFINITY;
    long dxflibEntities = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = Clock::now();
        CountingAdapter adapter;
        DL_Dxf dxflib;
        dxflib.in(file.string(), &adapter);
        dxflibLoad = std::min(dxflibLoad, secondsSince(start));
        dxflibEntities = adapter.entities;
    }
    std::printf("dxflib parse:   %7.3f s  %7.1f MB/s  (%ld entities)\n", dxflibLoad, size / dxflibLoad,
        dxflibEntities);

    const std::string python = "/usr/bin/python3 -c \"import ezdxf, time, sys; t = time.perf_counter(); "
                               "ezdxf.readfile(sys.argv[1]); print(time.perf_counter() - t)\" '"
        + file.string() + "'";
    double ezdxfLoad = NAN;
    if (FILE* pipe = popen(python.c_str(), "r")) {
        if (std::fscanf(pipe, "%lf", &ezdxfLoad) != 1)
            ezdxfLoad = NAN;
        pclose(pipe);
    }
    if (std::isnan(ezdxfLoad))
        std::printf("ezdxf load:     not available (python3-ezdxf missing?)\n");
    else
        std::printf("ezdxf load:     %7.3f s  %7.1f MB/s\n", ezdxfLoad, size / ezdxfLoad);

    const long peak = peakKilobytesOfChildLoad(file);
    std::printf("\nload vs ezdxf:  %.1f times faster\n", ezdxfLoad / load);
    std::printf("load vs dxflib: %.2f times its speed\n", dxflibLoad / load);
    std::printf("save vs load:   %.2f times the load speed\n", load / save);
    std::printf(
        "peak memory of a load: %.0f MB = %.2f times the file\n", peak / 1024.0, peak / 1024.0 / size);
    std::filesystem::remove_all(dir);
    return 0;
}
