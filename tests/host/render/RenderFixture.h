// A host session for picture tests: entities added to model space, drawn, and the picture read back.
#pragma once

#include <cairo.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include <filesystem>
#include <memory>
#include <string>

#include "HostFixture.h"
#include "render/AciPalette.h"
#include "render/Renderer.h"

namespace planroad::test {

// A PNG read back into memory (RGB pixels).
class Picture {
public:
    explicit Picture(const std::filesystem::path& file)
        : mSurface(cairo_image_surface_create_from_png(file.c_str()), &cairo_surface_destroy)
    {
    }
    bool valid() const { return cairo_surface_status(mSurface.get()) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(mSurface.get()); }
    int height() const { return cairo_image_surface_get_height(mSurface.get()); }
    arxhost::render::Rgb at(int x, int y) const
    {
        const unsigned char* row = cairo_image_surface_get_data(mSurface.get())
            + y * cairo_image_surface_get_stride(mSurface.get());
        const auto pixel = *reinterpret_cast<const std::uint32_t*>(row + 4 * x);
        return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
            static_cast<std::uint8_t>(pixel)};
    }
    // Pixels that differ from the colour by more than the tolerance in any channel.
    int countDifferent(const arxhost::render::Rgb& colour, int tolerance = 0) const
    {
        int count = 0;
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                count += differs(at(x, y), colour, tolerance) ? 1 : 0;
        return count;
    }
    static bool differs(const arxhost::render::Rgb& a, const arxhost::render::Rgb& b, int tolerance)
    {
        return std::abs(a.r - b.r) > tolerance || std::abs(a.g - b.g) > tolerance
            || std::abs(a.b - b.b) > tolerance;
    }

private:
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> mSurface;
};

class RenderFixture : public HostFixture {
protected:
    static constexpr arxhost::render::Rgb kBlack {0, 0, 0};
    static constexpr arxhost::render::Rgb kWhite {255, 255, 255};
    static constexpr arxhost::render::Rgb kRed {255, 0, 0};
    static constexpr arxhost::render::Rgb kGreen {0, 255, 0};
    static constexpr arxhost::render::Rgb kBlue {0, 0, 255};
    static constexpr arxhost::render::Rgb kMagenta {255, 0, 255};

    void SetUp() override
    {
        HostFixture::SetUp();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        mFolder = std::filesystem::temp_directory_path() / ("planroad-render-" + std::to_string(::getpid()))
            / name;
        std::filesystem::create_directories(mFolder);
        // A 400 x 400 picture of the square (0,0)-(100,100): four pixels a drawing unit.
        options.width = 400;
        options.height = 400;
        options.center = AcGePoint3d(50, 50, 0);
        options.viewHeight = 100;
    }
    void TearDown() override
    {
        // PLANROAD_KEEP_PICTURES keeps the pictures for a look when a test fails.
        std::error_code ec;
        if (std::getenv("PLANROAD_KEEP_PICTURES") == nullptr) {
            std::filesystem::remove_all(mFolder, ec);
            std::filesystem::remove(mFolder.parent_path(), ec); // the process's folder, once empty
        }
        HostFixture::TearDown();
    }

    std::filesystem::path file(const std::string& name) const { return mFolder / name; }

    // Draws the drawing with the current options into the file and reads the PNG back.
    Picture draw(const std::string& name = "picture.png")
    {
        arxhost::render::Renderer renderer(db(), options);
        std::string error;
        EXPECT_TRUE(renderer.render(file(name), error)) << error;
        stats = renderer.stats();
        return Picture(file(name));
    }

    // The pixel a drawing point falls on.
    std::pair<int, int> pixelOf(double x, double y) const
    {
        const double scale = options.height / options.viewHeight;
        return {static_cast<int>(std::floor((x - options.center.x) * scale + options.width / 2.0)),
            static_cast<int>(std::floor(options.height / 2.0 - (y - options.center.y) * scale))};
    }
    arxhost::render::Rgb colourAt(const Picture& picture, double x, double y) const
    {
        const auto [px, py] = pixelOf(x, y);
        return picture.at(px, py);
    }

    // Whether the colour is on the pixel of the point or one next to it (a curve drawn as short chords
    // may pass a pixel off its exact points).
    bool near(const Picture& picture, double x, double y, const arxhost::render::Rgb& colour) const
    {
        const auto [px, py] = pixelOf(x, y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (picture.at(px + dx, py + dy) == colour)
                    return true;
        return false;
    }

    AcDbObjectId addColouredLayer(const std::wstring& name, int colour)
    {
        AcDbObjectId id = addLayer(name);
        AcDbLayerTableRecord* layer = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(layer, id, AcDb::kForWrite));
        AcCmColor c;
        c.setColorIndex(static_cast<Adesk::UInt16>(colour));
        layer->setColor(c);
        layer->close();
        return id;
    }

    AcDbObjectId addColoured(AcDbEntity* entity, int colour, AcDbObjectId layer = AcDbObjectId::kNull)
    {
        entity->setDatabaseDefaults(&db());
        entity->setColorIndex(static_cast<Adesk::UInt16>(colour));
        if (!layer.isNull())
            entity->setLayer(layer);
        return add(entity);
    }

    // A block of the given entities (made on layer "0"), returning its record's id.
    AcDbObjectId addBlock(const std::wstring& name, std::vector<AcDbEntity*> entities)
    {
        AcDbBlockTable* table = nullptr;
        EXPECT_EQ(Acad::eOk, db().getBlockTable(table, AcDb::kForWrite));
        auto* block = new AcDbBlockTableRecord();
        block->setName(name.c_str());
        AcDbObjectId id;
        EXPECT_EQ(Acad::eOk, table->add(id, block));
        for (AcDbEntity* e : entities) {
            // The entity keeps the colour it was given; layer and linetype are the drawing's current ones.
            const AcCmColor colour = e->color();
            e->setDatabaseDefaults(&db());
            e->setColor(colour);
            EXPECT_EQ(Acad::eOk, block->appendAcDbEntity(e));
            e->close();
        }
        block->close();
        table->close();
        return id;
    }

    arxhost::render::RenderOptions options;
    arxhost::render::RenderStats stats;

private:
    std::filesystem::path mFolder;
};

} // namespace planroad::test
