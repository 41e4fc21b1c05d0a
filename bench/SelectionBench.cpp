// Selection on a large drawing: a crossing window over 500 000 entities through the spatial index,
// against testing every entity, and the whole-drawing filter scan ("X").
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <sstream>

#include "arxHeaders.h"
#include "arxhost/Session.h"
#include "db/DatabaseImpl.h"

namespace {

constexpr int kEntities = 500000;
constexpr double kSide = 50000.0; // drawing units: a city of 50 km by 50 km

struct BigDrawing {
    std::ostringstream transcript;
    std::ostringstream status;
    std::unique_ptr<arxhost::Session> session;

    BigDrawing()
    {
        arxhost::SessionOptions options;
        options.transcript = &transcript;
        options.statusBar = &status;
        options.strict = false;
        session = std::make_unique<arxhost::Session>(options);
        std::mt19937 random(20261205);
        std::uniform_real_distribution<double> coordinate(0.0, kSide);
        std::uniform_real_distribution<double> offset(-30.0, 30.0);
        AcDbBlockTableRecord* space = nullptr;
        acdbOpenObject(space, session->database().modelSpaceId(), AcDb::kForWrite);
        for (int i = 0; i < kEntities; ++i) {
            double x = coordinate(random);
            double y = coordinate(random);
            AcDbEntity* entity = nullptr;
            if (i % 5 == 0)
                entity = new AcDbArc(AcGePoint3d(x, y, 0), 5 + offset(random) / 10, 0.3, 2.1);
            else if (i % 7 == 0)
                entity = new AcDbText(AcGePoint3d(x, y, 0), L"Q 15", AcDbObjectId::kNull, 2.5, 0);
            else
                entity = new AcDbLine(
                    AcGePoint3d(x, y, 0), AcGePoint3d(x + offset(random), y + offset(random), 0));
            space->appendAcDbEntity(entity);
            entity->close();
        }
        space->close();
    }
};

BigDrawing& drawing()
{
    static BigDrawing big;
    return big;
}

int crossing(double x, double y, double size)
{
    ads_point a = {x, y, 0};
    ads_point b = {x + size, y + size, 0};
    ads_name ss;
    if (acedSSGet(L"C", a, b, nullptr, ss) != RTNORM)
        return 0;
    Adesk::Int32 n = 0;
    acedSSLength(ss, &n);
    acedSSFree(ss);
    return n;
}

// A window of 500 x 500 units (one ten-thousandth of the drawing) at a different place each time.
void CrossingWindowThroughIndex(benchmark::State& state)
{
    drawing();
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(0.0, kSide - 500);
    long selected = 0;
    for (auto _ : state)
        selected += crossing(place(random), place(random), 500.0);
    state.counters["entities/selection"]
        = benchmark::Counter(static_cast<double>(selected), benchmark::Counter::kAvgIterations);
    state.counters["drawing"] = kEntities;
}
BENCHMARK(CrossingWindowThroughIndex)->Unit(benchmark::kMicrosecond);

// The same window answered by testing every entity's extents: what the index saves.
void CrossingWindowByFullScan(benchmark::State& state)
{
    drawing();
    AcDbDatabase& db = arxhost::Session::current().database();
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(0.0, kSide - 500);
    long selected = 0;
    for (auto _ : state) {
        double x = place(random);
        double y = place(random);
        const auto* space = AcDbBlockTableRecord::cast(arxhost::DatabaseImpl::peek(db.modelSpaceId()));
        for (AcDbObjectId id : space->hostEntityIds()) {
            const auto* entity = AcDbEntity::cast(arxhost::DatabaseImpl::peek(id));
            AcDbExtents ext;
            entity->getGeomExtents(ext);
            if (ext.maxPoint().x >= x && ext.minPoint().x <= x + 500 && ext.maxPoint().y >= y
                && ext.minPoint().y <= y + 500)
                ++selected;
        }
    }
    state.counters["entities/selection"]
        = benchmark::Counter(static_cast<double>(selected), benchmark::Counter::kAvgIterations);
}
BENCHMARK(CrossingWindowByFullScan)->Unit(benchmark::kMillisecond)->Iterations(5);

// "X" with a type and text filter: a walk of the whole drawing, as the host's "X" must do.
void WholeDrawingFilter(benchmark::State& state)
{
    drawing();
    long selected = 0;
    for (auto _ : state) {
        resbuf* filter = acutBuildList(RTDXF0, L"TEXT", 1, L"*Q*,*FQ*", 0);
        ads_name ss;
        if (acedSSGet(L"X", nullptr, nullptr, filter, ss) == RTNORM) {
            Adesk::Int32 n = 0;
            acedSSLength(ss, &n);
            selected += n;
            acedSSFree(ss);
        }
        acutRelRb(filter);
    }
    state.counters["selected"]
        = benchmark::Counter(static_cast<double>(selected), benchmark::Counter::kAvgIterations);
}
BENCHMARK(WholeDrawingFilter)->Unit(benchmark::kMillisecond)->Iterations(5);

// A pick with the pick box at a random place.
void PickByPoint(benchmark::State& state)
{
    drawing();
    std::mt19937 random(11);
    std::uniform_real_distribution<double> place(0.0, kSide);
    long found = 0;
    for (auto _ : state) {
        ads_point p = {place(random), place(random), 0};
        ads_name ss;
        if (acedSSGet(nullptr, p, nullptr, nullptr, ss) == RTNORM) {
            ++found;
            acedSSFree(ss);
        }
    }
    state.counters["hits"]
        = benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(PickByPoint)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
