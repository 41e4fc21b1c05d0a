// Pictures as files: SVG and PDF read back by other programs, the runner's --render and the PNGOUT command.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "RenderFixture.h"
#include "dbpl.h"
#include "text/Utf8.h"

namespace planroad::test {
namespace {

std::string quoted(const std::filesystem::path& p)
{
    return "'" + p.string() + "'";
}

// Runs a shell command; its exit status and what it printed.
int runCommand(const std::string& command, std::string& output)
{
    output.clear();
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return -1;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class RenderFilesTest : public RenderFixture {
protected:
    // A wide red band across the middle and a green one down the left: solid areas that survive any
    // rasteriser's smoothing.
    void addBands()
    {
        auto* across = new AcDbPolyline();
        across->addVertexAt(0, AcGePoint2d(10, 50), 0, 10, 10);
        across->addVertexAt(1, AcGePoint2d(90, 50), 0, 10, 10);
        addColoured(across, 1);
        auto* down = new AcDbPolyline();
        down->addVertexAt(0, AcGePoint2d(20, 10), 0, 6, 6);
        down->addVertexAt(1, AcGePoint2d(20, 40), 0, 6, 6);
        addColoured(down, 3);
    }
};

TEST_F(RenderFilesTest, SvgIsWellFormedXmlWithTheDrawingsColours)
{
    addBands();
    draw("plan.png");
    arxhost::render::Renderer renderer(db(), options);
    std::string error;
    ASSERT_TRUE(renderer.render(file("plan.svg"), error)) << error;
    // An independent XML parser reads it: the root, its size, and the colours used to fill.
    const std::string script
        = "import sys, re, xml.etree.ElementTree as E\n"
          "root = E.parse(sys.argv[1]).getroot()\n"
          "print(root.tag.split('}')[-1], root.get('width'), root.get('height'))\n"
          "styles = ' '.join((e.get('style') or '') + ' ' + (e.get('fill') or '') for e in root.iter())\n"
          "print(' '.join(sorted(set(re.findall(r'rgb\\([^)]*\\)', styles)))))\n";
    std::ofstream(file("check.py")) << script;
    std::string output;
    ASSERT_EQ(0,
        runCommand(
            std::string(PLANROAD_PYTHON) + " " + quoted(file("check.py")) + " " + quoted(file("plan.svg")),
            output))
        << output;
    EXPECT_EQ(0u, output.rfind("svg 400", 0)) << output;
    EXPECT_NE(std::string::npos, output.find("rgb(100%,0%,0%)")) << output;
    EXPECT_NE(std::string::npos, output.find("rgb(0%,100%,0%)")) << output;
}

TEST_F(RenderFilesTest, PdfReadBackShowsTheColoursWhereTheEntitiesLie)
{
#ifndef PLANROAD_PDFTOPPM
    GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
#else
    addBands();
    arxhost::render::Renderer renderer(db(), options);
    std::string error;
    ASSERT_TRUE(renderer.render(file("plan.pdf"), error)) << error;
    std::string output;
    // One pixel a point: the page is the picture's size in points.
    ASSERT_EQ(0,
        runCommand(std::string(PLANROAD_PDFTOPPM) + " -png -r 72 -singlefile " + quoted(file("plan.pdf"))
                + " " + quoted(file("back")),
            output))
        << output;
    Picture back(file("back.png"));
    ASSERT_TRUE(back.valid());
    EXPECT_EQ(400, back.width());
    EXPECT_EQ(400, back.height());
    EXPECT_EQ(kRed, colourAt(back, 50, 50));
    EXPECT_EQ(kRed, colourAt(back, 80, 53));
    EXPECT_EQ(kGreen, colourAt(back, 20, 25));
    EXPECT_EQ(kBlack, colourAt(back, 50, 80));
    EXPECT_EQ(kBlack, colourAt(back, 80, 25));
#endif
}

TEST_F(RenderFilesTest, UnknownExtensionIsRefused)
{
    arxhost::render::Renderer renderer(db(), options);
    std::string error;
    EXPECT_FALSE(renderer.render(file("plan.bmp"), error));
    EXPECT_NE(std::string::npos, error.find(".png, .svg or .pdf")) << error;
    EXPECT_FALSE(std::filesystem::exists(file("plan.bmp")));
}

TEST_F(RenderFilesTest, PngKeepsEveryColourWhetherAFewOrMany)
{
    // 300 lines of as many true colours: more than a palette holds, so the picture keeps them all.
    for (int i = 0; i < 300; ++i) {
        auto* line = new AcDbLine(AcGePoint3d(5, 5 + i * 0.3, 0), AcGePoint3d(95, 5 + i * 0.3, 0));
        line->setDatabaseDefaults(&db());
        AcCmColor colour;
        colour.setRGB(static_cast<Adesk::UInt8>(i % 256), static_cast<Adesk::UInt8>(40 + i / 256), 200);
        line->setColor(colour);
        add(line);
    }
    options.viewHeight = 100;
    options.height = 1200; // 12 pixels a unit: every line has rows of its own
    options.width = 1200;
    Picture many = draw("many.png");
    ASSERT_TRUE(many.valid());
    for (int i : {0, 1, 150, 255, 256, 299}) {
        const arxhost::render::Rgb expected {
            static_cast<std::uint8_t>(i % 256), static_cast<std::uint8_t>(40 + i / 256), 200};
        EXPECT_EQ(expected, colourAt(many, 50, 5 + i * 0.3)) << "line " << i;
    }

    // A few colours: the same colours back, from a much smaller file.
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(space, db().modelSpaceId(), AcDb::kForWrite));
    AcDbBlockTableRecordIterator* it = nullptr;
    space->newIterator(it);
    for (int i = 0; !it->done(); it->step(), ++i) {
        AcDbEntity* e = nullptr;
        if (i % 100 != 0 && it->getEntity(e, AcDb::kForWrite) == Acad::eOk) {
            e->erase();
            e->close();
        }
    }
    delete it;
    space->close();
    Picture few = draw("few.png");
    ASSERT_TRUE(few.valid());
    EXPECT_EQ((arxhost::render::Rgb {100, 40, 200}), colourAt(few, 50, 5 + 100 * 0.3));
    EXPECT_EQ(kBlack, colourAt(few, 50, 5 + 101 * 0.3));
    EXPECT_LT(std::filesystem::file_size(file("few.png")) * 2, std::filesystem::file_size(file("many.png")));
}

TEST_F(RenderFilesTest, FlashedEntitiesStandOutUntilTheNextCommand)
{
    const AcDbObjectId flashed
        = addColoured(new AcDbLine(AcGePoint3d(100, 100, 0), AcGePoint3d(300, 100, 0)), 1);
    const AcDbObjectId asked
        = addColoured(new AcDbLine(AcGePoint3d(100, 200, 0), AcGePoint3d(300, 200, 0)), 3);
    auto blink = [](AcDbObjectId id, bool askBetween) {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(Acad::eOk, acdbOpenObject(e, id, AcDb::kForRead));
        e->highlight();
        if (askBetween) { // highlighted while the user answers: a selection's feedback, not a flash
            ACHAR answer[32];
            acedGetString(0, L"\nAnswer: ", answer);
        }
        e->unhighlight();
        e->close();
    };
    defineCommand(L"BLINK", [&] {
        blink(flashed, false);
        blink(asked, true);
    });
    // Gaps along each line's middle stretch in a PNGOUT picture: a dashed line has many.
    auto gaps = [&](const std::string& name, double y) {
        Picture picture(file(name));
        const double scale = 1200.0 / 297.0;
        int count = 0;
        for (double x = 120; x < 280; x += 0.5) {
            const int px = static_cast<int>(std::floor((x - 210) * scale + 800));
            const int py = static_cast<int>(std::floor(600 - (y - 148.5) * scale));
            count += picture.at(px, py) == kBlack ? 1 : 0;
        }
        return count;
    };
    const auto pngOut = [&](const std::string& name) {
        type(L"PNGOUT\n" + arxhost::fromUtf8(file(name).string()) + L"\n");
    };
    type(L"BLINK\nyes\n");
    pngOut("flashed.png");
    EXPECT_GT(gaps("flashed.png", 100), 60) << "the flashed line is not dashed";
    EXPECT_EQ(gaps("flashed.png", 200), 0) << "a line highlighted across a prompt counts as flashed";

    // A zoom keeps it; any other command (REDRAW here) clears the screen of it.
    type(L"ZOOM\nW\n0,0\n420,297\n");
    pngOut("zoomed.png");
    EXPECT_GT(gaps("zoomed.png", 100), 60);
    type(L"REDRAW\n");
    pngOut("redrawn.png");
    EXPECT_EQ(gaps("redrawn.png", 100), 0);
}

TEST_F(RenderFilesTest, PngOutWritesTheCurrentView)
{
    addColoured(new AcDbLine(AcGePoint3d(100, 100, 0), AcGePoint3d(300, 100, 0)), 1);
    const std::filesystem::path out = file("view.png");
    type(L"PNGOUT\n" + arxhost::fromUtf8(out.string()) + L"\n");
    EXPECT_TRUE(contains(transcript(), L"Enter file name <Drawing1.png>:")) << transcript();
    Picture picture(out);
    ASSERT_TRUE(picture.valid());
    EXPECT_EQ(1600, picture.width());
    EXPECT_EQ(1200, picture.height());
    // 200 units of red line at 1200 / 297 pixels a unit.
    const int red = picture.width() * picture.height() - picture.countDifferent(kRed);
    EXPECT_NEAR(808, red, 8);

    // The view after a zoom to an empty corner shows nothing.
    type(L"ZOOM\nW\n1000,1000\n1100,1100\nPNGOUT\n" + arxhost::fromUtf8(file("empty.png").string()) + L"\n");
    EXPECT_EQ(0, Picture(file("empty.png")).countDifferent(kBlack));
}

TEST_F(RenderFilesTest, RunnerRendersTheExtentsOrTheLastZoom)
{
    const std::filesystem::path sample = std::filesystem::path(PLANROAD_EXAMPLES_DIR) / "road-sample.dxf";
    std::ofstream(file("none.scr")) << "\n";
    std::ofstream(file("zoom.scr")) << "ZOOM\nW\n-100000,-100000\n-99990,-99990\n";
    const std::string runner = PLANROAD_RUNNER;
    std::string output;
    ASSERT_EQ(0,
        runCommand(runner + " " + quoted(sample) + " --script " + quoted(file("none.scr")) + " --render "
                + quoted(file("extents.png")) + " --render-size 320x240",
            output))
        << output;
    Picture extents(file("extents.png"));
    ASSERT_TRUE(extents.valid());
    EXPECT_EQ(320, extents.width());
    EXPECT_EQ(240, extents.height());
    // The drawing fills the picture: ink in each quarter.
    for (int q = 0; q < 4; ++q) {
        int ink = 0;
        for (int y = (q / 2) * 120; y < (q / 2 + 1) * 120; ++y)
            for (int x = (q % 2) * 160; x < (q % 2 + 1) * 160; ++x)
                ink += extents.at(x, y) == kBlack ? 0 : 1;
        EXPECT_GT(ink, 50) << "quarter " << q;
    }

    ASSERT_EQ(0,
        runCommand(runner + " " + quoted(sample) + " --script " + quoted(file("zoom.scr")) + " --render "
                + quoted(file("zoomed.png")) + " --render-size 320x240",
            output))
        << output;
    // The zoom went to an empty corner far from the roads.
    EXPECT_EQ(0, Picture(file("zoomed.png")).countDifferent(kBlack));

    EXPECT_EQ(2, runCommand(runner + " --render " + quoted(file("plan.gif")), output));
    EXPECT_NE(std::string::npos, output.find(".png, .svg or .pdf")) << output;
    EXPECT_EQ(2, runCommand(runner + " --render-size 10x0 --render " + quoted(file("plan.png")), output));
}

} // namespace
} // namespace planroad::test
