// A host session for the drawing toolkit's tests: drawing builders and the check that nothing stays open.
#pragma once

#include <cmath>
#include <numbers>
#include <vector>

#include "DrawingToolkit.h"
#include "HostFixture.h"
#include "db/DatabaseImpl.h"

namespace planroad::test {

constexpr double kPi = std::numbers::pi;

// A polyline vertex: x, y and the bulge of the segment that starts there.
struct Vertex {
    double x;
    double y;
    double bulge = 0.0;
};

class ToolkitFixture : public HostFixture {
protected:
    void TearDown() override
    {
        // Every toolkit call closes what it opened.
        EXPECT_TRUE(db().impl().openStubs().empty()) << "objects left open";
        HostFixture::TearDown();
    }

    AcDbObjectId addArc(double cx, double cy, double r, double a0, double a1)
    {
        return add(new AcDbArc(AcGePoint3d(cx, cy, 0), r, a0, a1));
    }
    AcDbObjectId addPolyline(const std::vector<Vertex>& vertices, bool closed = false)
    {
        auto* polyline = new AcDbPolyline();
        for (unsigned int i = 0; i < vertices.size(); ++i)
            polyline->addVertexAt(i, AcGePoint2d(vertices[i].x, vertices[i].y), vertices[i].bulge);
        polyline->setClosed(closed);
        return add(polyline);
    }
    AcDbObjectId add2dPolyline(const std::vector<Vertex>& vertices, bool closed = false)
    {
        AcGePoint3dArray points;
        AcGeDoubleArray bulges;
        for (const Vertex& v : vertices) {
            points.append(AcGePoint3d(v.x, v.y, 0));
            bulges.append(v.bulge);
        }
        return add(new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 0, closed, 0, 0, &bulges));
    }
    AcDbObjectId addText(double x, double y, const wchar_t* text, double height = 2.5)
    {
        return add(new AcDbText(AcGePoint3d(x, y, 0), text, db().textstyle(), height, 0));
    }
    // Runs the body as a command of its own, as the module's commands call the toolkit.
    void inCommand(std::function<void()> body)
    {
        defineCommand(L"TOOLKITSTEP" + std::to_wstring(++mSteps), std::move(body));
        type(L"TOOLKITSTEP" + std::to_wstring(mSteps) + L"\n");
    }
    // Runs the body as a command and then answers its prompts with the script.
    void inCommand(std::function<void()> body, const std::wstring& script)
    {
        defineCommand(L"TOOLKITSTEP" + std::to_wstring(++mSteps), std::move(body));
        type(L"TOOLKITSTEP" + std::to_wstring(mSteps) + L"\n" + script);
    }
    static void expectNear(const AcGePoint3d& expected, const AcGePoint3d& actual, double tol = 1e-9)
    {
        EXPECT_NEAR(expected.x, actual.x, tol);
        EXPECT_NEAR(expected.y, actual.y, tol);
        EXPECT_NEAR(expected.z, actual.z, tol);
    }
    bool highlighted(AcDbObjectId id) { return session().isHighlighted(id); }

private:
    int mSteps = 0;
};

} // namespace planroad::test
