// The terrain surface of the stake annotation on 100 000 surveyed elevation points: triangulating them,
// reading them from a drawing, and looking elevations up.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <sstream>
#include <vector>

#include "CustomParameterStore.h"
#include "TerrainLibrary.h"
#include "arxHeaders.h"
#include "arxhost/Session.h"
#include "terrain/Triangulation.h"

namespace {

constexpr int kPoints = 100000;
constexpr double kSide = 10000.0; // a survey of 10 km by 10 km
constexpr double kEast = 3500000.0; // grid coordinates as on a city map
constexpr double kNorth = 500000.0;

using planroad::standins::terrain::ElevationPoint;
using planroad::standins::terrain::Triangulation;

std::vector<ElevationPoint> surveyPoints()
{
    std::mt19937 random(20261205);
    std::uniform_real_distribution<double> coordinate(0.0, kSide);
    std::uniform_real_distribution<double> height(20.0, 80.0);
    std::vector<ElevationPoint> points;
    points.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i)
        points.push_back({kEast + coordinate(random), kNorth + coordinate(random), height(random)});
    return points;
}

const std::vector<ElevationPoint>& survey()
{
    static const std::vector<ElevationPoint> points = surveyPoints();
    return points;
}

// A drawing holding the survey as POINT entities on the planned elevation layer.
struct SurveyDrawing {
    std::ostringstream transcript;
    std::ostringstream status;
    std::unique_ptr<arxhost::Session> session;

    SurveyDrawing()
    {
        arxhost::SessionOptions options;
        options.transcript = &transcript;
        options.statusBar = &status;
        options.strict = false;
        session = std::make_unique<arxhost::Session>(options);
        AcDbDatabase& db = session->database();
        AcDbLayerTable* layers = nullptr;
        db.getLayerTable(layers, AcDb::kForWrite);
        auto* layer = new AcDbLayerTableRecord();
        layer->setName(L"GC-规划高程");
        layers->add(layer);
        layer->close();
        layers->close();
        LAYERPARAM param;
        param.strName = L"GC-规划高程";
        TarnDB::qvSetLayerParam(L"规划高程点层", param, nullptr);

        AcDbBlockTableRecord* space = nullptr;
        acdbOpenObject(space, db.modelSpaceId(), AcDb::kForWrite);
        for (const ElevationPoint& p : survey()) {
            auto* point = new AcDbPoint(AcGePoint3d(p.x, p.y, p.z));
            point->setDatabaseDefaults(&db);
            point->setLayer(L"GC-规划高程");
            space->appendAcDbEntity(point);
            point->close();
        }
        space->close();
    }
};

SurveyDrawing& drawing()
{
    static SurveyDrawing big;
    return big;
}

void TriangulateSurvey(benchmark::State& state)
{
    const auto& points = survey();
    std::size_t triangles = 0;
    for (auto _ : state) {
        Triangulation surface(points);
        triangles = surface.triangleCount();
        benchmark::DoNotOptimize(triangles);
    }
    state.counters["points"] = kPoints;
    state.counters["triangles"] = static_cast<double>(triangles);
}
BENCHMARK(TriangulateSurvey)->Unit(benchmark::kMillisecond);

// What the stake command pays when it starts: selecting the points, reading them, triangulating.
void SurfaceFromDrawing(benchmark::State& state)
{
    drawing();
    for (auto _ : state) {
        TARNQVTRI::CGetQvPtHeightClass planned(true);
        AcGePoint3d probe(kEast + kSide / 2, kNorth + kSide / 2, 0);
        benchmark::DoNotOptimize(planned.getQvPtHeight(probe));
    }
    state.counters["points"] = kPoints;
}
BENCHMARK(SurfaceFromDrawing)->Unit(benchmark::kMillisecond);

// One elevation at a random place of the survey (some fall outside the hull near the edges).
void LookUpElevation(benchmark::State& state)
{
    static const Triangulation surface(survey());
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(0.0, kSide);
    long covered = 0;
    for (auto _ : state) {
        double z = 0;
        covered += surface.elevationAt(kEast + place(random), kNorth + place(random), z) ? 1 : 0;
        benchmark::DoNotOptimize(z);
    }
    state.counters["covered"]
        = benchmark::Counter(static_cast<double>(covered), benchmark::Counter::kAvgIterations);
}
BENCHMARK(LookUpElevation)->Unit(benchmark::kNanosecond);

} // namespace

BENCHMARK_MAIN();
