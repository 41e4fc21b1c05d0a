// Speed of the DXF tag layer: reading every tag of a 50 MB ASCII drawing, and writing them back.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "dxf/TagReader.h"
#include "dxf/TagWriter.h"

namespace {

constexpr std::size_t kDrawingBytes = 50u << 20;

// Coordinates as drawings hold them, in metres over a city: half surveyed to the millimetre, half
// computed (intersections, offsets) and so of full precision.
double coordinate(std::mt19937_64& random)
{
    std::uniform_real_distribution<double> metres(0.0, 600000.0);
    const double value = metres(random);
    return random() % 2 == 0 ? std::round(value * 1e3) / 1e3 : value;
}

// An R2010 drawing of lines, polylines and texts with extended data, in the layout the host writes.
std::string makeDrawing()
{
    std::mt19937_64 random(20261205);
    dxf::TagWriter writer(dxf::Version::R2010);
    writer.writeString(0, "SECTION");
    writer.writeString(2, "HEADER");
    writer.writeString(9, "$ACADVER");
    writer.writeString(1, "AC1024");
    writer.writeString(9, "$DWGCODEPAGE");
    writer.writeString(3, "ANSI_936");
    writer.writeString(0, "ENDSEC");
    writer.writeString(0, "SECTION");
    writer.writeString(2, "ENTITIES");
    std::uint64_t handle = 0x100;
    for (int i = 0; writer.size() < kDrawingBytes; ++i) {
        const int kind = i % 4;
        writer.writeString(0, kind == 3 ? "TEXT" : kind == 2 ? "LWPOLYLINE" : "LINE");
        writer.writeHandle(5, handle++);
        writer.writeHandle(330, 0x1F);
        writer.writeString(100, "AcDbEntity");
        writer.writeString(8, "ROAD-CENTRE");
        writer.writeInt(62, 256);
        if (kind == 3) {
            writer.writeString(100, "AcDbText");
            writer.writePoint(10, coordinate(random), coordinate(random), 0.0);
            writer.writeDouble(40, 2.5);
            writer.writeText(1, L"K12+345.678 \u9053\u8def\u4e2d\u7ebf");
        } else if (kind == 2) {
            writer.writeString(100, "AcDbPolyline");
            writer.writeInt(90, 8);
            writer.writeInt(70, 0);
            for (int v = 0; v < 8; ++v) {
                writer.writePoint(10, coordinate(random), coordinate(random));
                if (v % 3 == 0)
                    writer.writeDouble(42, 0.41421356237309503);
            }
        } else {
            writer.writeString(100, "AcDbLine");
            writer.writePoint(10, coordinate(random), coordinate(random), 0.0);
            writer.writePoint(11, coordinate(random), coordinate(random), 0.0);
            writer.writeString(1001, "QVPLANROAD");
            writer.writeText(1000, L"STAKE");
            writer.writeInt(1070, i % 100);
            writer.writeDouble(1040, coordinate(random));
        }
    }
    writer.writeString(0, "ENDSEC");
    writer.writeString(0, "EOF");
    return std::string(writer.data());
}

const std::string& drawing()
{
    static const std::string text = makeDrawing();
    return text;
}

void BM_ReadAllTags(benchmark::State& state)
{
    const std::string& text = drawing();
    std::size_t tags = 0;
    for (auto _ : state) {
        dxf::TagReader reader(text);
        dxf::Tag tag;
        double sum = 0;
        tags = 0;
        while (reader.next(tag)) {
            if (tag.type() == dxf::ValueType::Double)
                sum += tag.asDouble();
            ++tags;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["tags"] = static_cast<double>(tags);
}
BENCHMARK(BM_ReadAllTags)->Unit(benchmark::kMillisecond);

// As the mapper reads: every string decoded to wide text as well.
void BM_ReadAllTagsDecodingText(benchmark::State& state)
{
    const std::string& text = drawing();
    for (auto _ : state) {
        dxf::TagReader reader(text);
        dxf::Tag tag;
        std::size_t characters = 0;
        while (reader.next(tag))
            if (tag.type() == dxf::ValueType::String)
                characters += tag.asText().size();
        benchmark::DoNotOptimize(characters);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadAllTagsDecodingText)->Unit(benchmark::kMillisecond);

void BM_WriteAllTags(benchmark::State& state)
{
    const std::string& text = drawing();
    dxf::TagReader reader(text);
    std::vector<dxf::Tag> tags;
    dxf::Tag tag;
    while (reader.next(tag))
        tags.push_back(tag);
    dxf::TagWriter writer(dxf::Version::R2010);
    for (auto _ : state) {
        writer.clear();
        for (const dxf::Tag& each : tags)
            writer.write(each);
        benchmark::DoNotOptimize(writer.data().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * writer.size()));
}
BENCHMARK(BM_WriteAllTags)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
