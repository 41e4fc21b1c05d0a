// The renderer: model-space entities found in the view window, drawn through cairo, texts through pango.
#include "render/Renderer.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "arxhost/Session.h"
#include "db/DatabaseImpl.h"
#include "dbents.h"
#include "dbsymtb.h"
#include "render/Painter.h"
#include "render/PixelCanvas.h"
#include "render/PngFile.h"
#include "session/DocumentState.h"
#include "text/Utf8.h"

namespace arxhost::render {

namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using ContextPtr = std::unique_ptr<cairo_t, ContextDeleter>;

cairo_status_t finishSurface(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    cairo_surface_finish(surface);
    return cairo_surface_status(surface);
}

} // namespace

std::optional<ImageFormat> formatOf(const std::filesystem::path& file)
{
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".png")
        return ImageFormat::Png;
    if (ext == ".svg")
        return ImageFormat::Svg;
    if (ext == ".pdf")
        return ImageFormat::Pdf;
    return std::nullopt;
}

Renderer::Renderer(const AcDbDatabase& db, RenderOptions options)
    : mDb(db)
    , mOptions(std::move(options))
{
}

bool Renderer::render(const std::filesystem::path& file, std::string& error)
{
    mStats = {};
    const std::optional<ImageFormat> format = formatOf(file);
    if (!format) {
        error = "cannot render " + file.string() + ": the file name must end in .png, .svg or .pdf";
        return false;
    }
    if (mOptions.width <= 0 || mOptions.height <= 0 || !(mOptions.viewHeight > 0)) {
        error = "cannot render " + file.string() + ": empty picture or view";
        return false;
    }
    // Written beside the file and renamed over it when whole: a failed picture leaves an older one be.
    const std::filesystem::path temporary
        = file.parent_path() / ("." + file.filename().string() + "." + std::to_string(::getpid()) + ".tmp");
    const auto fail = [&](std::string message) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        error = std::move(message);
        return false;
    };
    SurfacePtr surface;
    switch (*format) {
    case ImageFormat::Png:
        surface.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, mOptions.width, mOptions.height));
        break;
    case ImageFormat::Svg:
        surface.reset(cairo_svg_surface_create(temporary.c_str(), mOptions.width, mOptions.height));
        break;
    case ImageFormat::Pdf:
        surface.reset(cairo_pdf_surface_create(temporary.c_str(), mOptions.width, mOptions.height));
        break;
    }
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        const cairo_status_t status = cairo_surface_status(surface.get());
        surface.reset();
        return fail("cannot write " + file.string() + ": " + cairo_status_to_string(status));
    }
    {
        ContextPtr cr(cairo_create(surface.get()));
        // Geometry is drawn as the host's screen draws it: whole pixels, no smoothing.
        cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
        std::optional<PixelCanvas> pixels;
        if (*format == ImageFormat::Png) {
            cairo_surface_flush(surface.get());
            pixels.emplace(reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface.get())),
                mOptions.width, mOptions.height, cairo_image_surface_get_stride(surface.get()));
        }
        Painter painter(cr.get(), pixels ? &*pixels : nullptr, mDb, mOptions, mStats);
        painter.background();

        const double halfWidth = mOptions.viewHeight * mOptions.width / mOptions.height / 2.0;
        const double halfHeight = mOptions.viewHeight / 2.0;
        const Box2d window {mOptions.center.x - halfWidth, mOptions.center.y - halfHeight,
            mOptions.center.x + halfWidth, mOptions.center.y + halfHeight};
        // A window that takes in the whole drawing draws every model-space entity in the model space's
        // order, without the index (which a drawing just loaded has not built yet); a smaller window draws
        // what the index finds in it, in the order the entities were made, later ones on top.
        std::vector<AcDbStub*> found;
        const AcGePoint3d lo = mDb.extmin();
        const AcGePoint3d hi = mDb.extmax();
        const auto* modelSpace = AcDbBlockTableRecord::cast(DatabaseImpl::peek(mDb.impl().modelSpace));
        if (modelSpace != nullptr && lo.x <= hi.x && lo.y <= hi.y
            && window.contains(Box2d {lo.x, lo.y, hi.x, hi.y})) {
            for (AcDbObjectId id : modelSpace->hostEntityIds())
                found.push_back(id);
        } else {
            found = mDb.impl().index().query(window);
            std::sort(found.begin(), found.end(),
                [](const AcDbStub* a, const AcDbStub* b) { return a->handle() < b->handle(); });
        }
        // Highlighted entities come last, on top of whatever else lies there, so that they stand out.
        std::vector<const AcDbEntity*> onTop;
        for (AcDbStub* stub : found) {
            const auto* e = AcDbEntity::cast(stub->object());
            if (e == nullptr)
                continue;
            if (!mOptions.highlighted.empty() && mOptions.highlighted.contains(AcDbObjectId(stub)))
                onTop.push_back(e);
            else
                painter.entity(*e, false);
        }
        for (const AcDbEntity* e : onTop)
            painter.entity(*e, true);
        painter.finish();
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
            const cairo_status_t status = cairo_status(cr.get());
            cr.reset();
            surface.reset();
            return fail("cannot render " + file.string() + ": " + cairo_status_to_string(status));
        }
    }
    if (*format == ImageFormat::Png) {
        std::string problem;
        if (!writePng(surface.get(), temporary, problem))
            return fail("cannot write " + file.string() + ": " + problem);
    } else if (const cairo_status_t status = finishSurface(surface.get()); status != CAIRO_STATUS_SUCCESS) {
        surface.reset();
        return fail("cannot write " + file.string() + ": " + cairo_status_to_string(status));
    }
    surface.reset();
    std::error_code ec;
    std::filesystem::rename(temporary, file, ec);
    if (ec)
        return fail("cannot write " + file.string() + ": " + ec.message());
    return true;
}

ViewWindow sessionView(Session& session)
{
    const ViewState& view = session.document().view();
    return {view.center(), view.height()};
}

ViewWindow extentsView(AcDbDatabase& db, int width, int height)
{
    db.updateExt();
    AcGePoint3d lo = db.extmin();
    AcGePoint3d hi = db.extmax();
    if (lo.x > hi.x || lo.y > hi.y) {
        lo = AcGePoint3d(0, 0, 0);
        hi = AcGePoint3d(420, 297, 0);
    }
    const double aspect = width > 0 && height > 0 ? static_cast<double>(width) / height : 4.0 / 3.0;
    // A sliver of margin, so that what lies on the extents' edge is not cut by the picture's edge.
    double viewHeight = std::max(hi.y - lo.y, (hi.x - lo.x) / aspect) * 1.02;
    if (viewHeight <= 0)
        viewHeight = 1.0;
    return {AcGePoint3d((lo.x + hi.x) / 2, (lo.y + hi.y) / 2, 0), viewHeight};
}

bool renderSessionView(Session& session, const ViewWindow& view, const std::filesystem::path& file, int width,
    int height, std::string& error)
{
    RenderOptions options;
    options.width = width;
    options.height = height;
    options.center = view.center;
    options.viewHeight = view.height;
    for (AcDbObjectId id : session.highlighted())
        options.highlighted.insert(id);
    for (AcDbObjectId id : session.flashed())
        options.highlighted.insert(id);
    Renderer renderer(session.database(), std::move(options));
    return renderer.render(file, error);
}

} // namespace arxhost::render
