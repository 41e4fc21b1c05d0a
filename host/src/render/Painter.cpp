// Painting entities: geometry as hairlines in the pixels or as cairo paths, texts through pango, block
// references with what their entities inherit, all in the host's screen colours and styles.
#include "render/Painter.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <map>
#include <memory>
#include <vector>

#include "db/DatabaseImpl.h"
#include "dbdim.h"
#include "dbents.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "render/AciPalette.h"
#include "render/FontFinder.h"
#include "render/LineStyle.h"
#include "render/PixelCanvas.h"
#include "text/Utf8.h"

namespace arxhost::render {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Block references nested deeper than this are taken as a cycle and not drawn further.
constexpr int kMaxNesting = 32;
// The size pango lays texts out at; the drawing scales the result to the text's height.
constexpr double kLayoutFontPixels = 64.0;
// Texts whose capitals would be lower than this many pixels cannot be read: they are drawn as a line
// along their run, as long as the text, which is what the eye sees of them anyway.
constexpr double kSmallestReadableText = 2.5;

struct GObjectDeleter {
    void operator()(void* o) const { g_object_unref(o); }
};
struct FontDeleter {
    void operator()(PangoFontDescription* f) const { pango_font_description_free(f); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectDeleter>;
using FontPtr = std::unique_ptr<PangoFontDescription, FontDeleter>;

// What an entity inside a block reference takes from the reference: its colour, linetype and lineweight
// for ByBlock, its layer for entities on layer "0".
struct Inherited {
    bool nested = false;
    Rgb blockColor;
    AcDbObjectId blockLayer;
    AcDbObjectId blockLinetype;
    int blockLineweight = AcDb::kLnWtByLwDefault;
};

// A header variable of the drawing as a number, or the fallback when it is not set.
double headerNumber(const AcDbDatabase& db, const wchar_t* name, double fallback)
{
    const HeaderValue* value = db.impl().header().find(name);
    if (value == nullptr)
        return fallback;
    if (const auto* i = std::get_if<std::int64_t>(value))
        return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(value))
        return *d;
    return fallback;
}

// How a text is placed at its anchor: the fraction of its width left of the anchor and the vertical mode.
struct TextPlacement {
    double along = 0.0; // 0 left, 0.5 centre, 1 right
    AcDb::TextVertMode vertical = AcDb::kTextBase;
    // Align and Fit: the width the text is stretched to (drawing units), and whether the height follows.
    double fitWidth = 0.0;
    bool keepAspect = false;
};

// The host's control codes in texts: %%d degree, %%c diameter, %%p plus/minus, %%% percent.
std::wstring expandControlCodes(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 2 < text.size() && text[i + 1] == L'%') {
            const wchar_t code = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[i + 2])));
            const wchar_t* replacement = code == L'd' ? L"\u00B0"
                : code == L'c'                        ? L"\u2300"
                : code == L'p'                        ? L"\u00B1"
                : code == L'%'                        ? L"%"
                                                      : nullptr;
            if (replacement != nullptr) {
                out += replacement;
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

} // namespace

class Painter::Impl {
public:
    // `pixels`, when given, draws the hairlines straight into the image surface cairo also draws on.
    Impl(cairo_t* cr, PixelCanvas* pixels, const AcDbDatabase& db, const RenderOptions& options,
        RenderStats& stats)
        : mCr(cr)
        , mPixels(pixels)
        , mDb(db)
        , mOptions(options)
        , mStats(stats)
        , mScale(options.height / options.viewHeight)
        , mLayout(pango_cairo_create_layout(cr))
        , mLtScale(headerNumber(db, L"LTSCALE", 1.0))
        , mPointMode(static_cast<int>(headerNumber(db, L"PDMODE", 0)))
        , mPointSize(headerNumber(db, L"PDSIZE", 0))
        , mLineweightsShown(headerNumber(db, L"LWDISPLAY", 0) != 0)
        , mDefaultLineweight(static_cast<int>(headerNumber(db, L"LWDEFAULT", 25)))
    {
        // Metrics unhinted: a text keeps its proportions at every zoom.
        cairo_font_options_t* fontOptions = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(fontOptions, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(fontOptions, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(pango_layout_get_context(mLayout.get()), fontOptions);
        cairo_font_options_destroy(fontOptions);
        pango_layout_context_changed(mLayout.get());
        useFont(FontChoice {"Sans", false, false});
    }

    void background()
    {
        useCairo();
        const double v = mOptions.whiteBackground ? 1.0 : 0.0;
        cairo_set_source_rgb(mCr, v, v, v);
        cairo_paint(mCr);
    }

    // Hands the surface back to cairo after pixels were written into it directly.
    void finish() { useCairo(); }

    void entity(
        const AcDbEntity& e, const AcGeMatrix3d& xf, const Inherited& parent, bool highlighted, int depth)
    {
        if (e.isErased() || e.visibility() == AcDb::kInvisible)
            return;
        const AcDbObjectId layerId = effectiveLayer(e, parent);
        const auto* layer = AcDbLayerTableRecord::cast(DatabaseImpl::peek(layerId));
        if (layer != nullptr && (layer->isFrozen() || layer->isOff())) {
            // A reference on a layer that is off still shows what lies on other layers; frozen hides all.
            if (layer->isFrozen() || AcDbBlockReference::cast(&e) == nullptr)
                return;
        }
        const Rgb color = resolve(e.color(), layer, parent);
        const AcDbObjectId linetype = effectiveLinetype(e, layer, parent);
        const int lineweight = effectiveLineweight(e, layer, parent);
        if (const auto* ref = AcDbBlockReference::cast(&e)) {
            blockReference(*ref, xf, {true, color, layerId, linetype, lineweight}, highlighted, depth);
            return;
        }
        setColor(color);
        setLineStyle(highlighted, linetype, e.linetypeScale(), lineweight, xf);
        if (const auto* line = AcDbLine::cast(&e)) {
            strokePolyline({xf * line->startPoint(), xf * line->endPoint()}, false);
        } else if (const auto* arc = AcDbArc::cast(&e)) {
            double sweep = arc->endAngle() - arc->startAngle();
            while (sweep <= 0)
                sweep += 2 * kPi;
            strokePolyline(arcPoints(arc->center(), arc->radius(), arc->startAngle(), sweep, xf), false);
        } else if (const auto* circle = AcDbCircle::cast(&e)) {
            strokePolyline(arcPoints(circle->center(), circle->radius(), 0, 2 * kPi, xf), true);
        } else if (const auto* point = AcDbPoint::cast(&e)) {
            pointFigure(xf * point->position());
            const auto [x, y] = device(xf * point->position());
            if ((mPointMode & 7) == 1) {
                // Mode 1 shows no dot, only the circle or square the mode may add.
            } else if ((mPointMode & 7) != 0) {
                // The figure is drawn above.
            } else if (mPixels != nullptr) {
                usePixels();
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        mPixels->dot(x + dx, y + dy);
            } else {
                cairo_rectangle(mCr, std::floor(x) - 1, std::floor(y) - 1, 3, 3);
                cairo_fill(mCr);
            }
        } else if (const auto* pline = AcDbPolyline::cast(&e)) {
            std::vector<Vertex> vertices;
            for (unsigned int i = 0; i < pline->numVerts(); ++i) {
                Vertex v;
                AcGePoint2d p;
                pline->getPointAt(i, p);
                v.point = AcGePoint3d(p.x, p.y, pline->elevation());
                pline->getBulgeAt(i, v.bulge);
                pline->getWidthsAt(i, v.startWidth, v.endWidth);
                vertices.push_back(v);
            }
            polyline(vertices, pline->isClosed(), xf);
        } else if (const auto* pline2d = AcDb2dPolyline::cast(&e)) {
            std::vector<Vertex> vertices;
            for (AcDbObjectId id : pline2d->hostVertexIds()) {
                const auto* v = AcDb2dVertex::cast(DatabaseImpl::peek(id));
                if (v == nullptr || v->isErased() || v->vertexType() == AcDb::k2dSplineCtlVertex)
                    continue;
                vertices.push_back({v->position(), v->bulge(), v->startWidth(), v->endWidth()});
            }
            polyline(vertices, pline2d->isClosed(), xf);
        } else if (const auto* text = AcDbText::cast(&e)) {
            drawText(*text, xf, highlighted);
        } else if (const auto* dim = AcDbRadialDimension::cast(&e)) {
            radialDimension(*dim, xf, layer, color, parent);
        } else {
            return;
        }
        if (depth == 0)
            ++mStats.entities;
    }

private:
    struct Vertex {
        AcGePoint3d point;
        double bulge = 0, startWidth = 0, endWidth = 0;
    };

    AcDbObjectId effectiveLinetype(
        const AcDbEntity& e, const AcDbLayerTableRecord* layer, const Inherited& parent) const
    {
        const AcDbObjectId id = e.linetypeId();
        if (id.isNull() || id == mDb.impl().linetypeByLayer)
            return layer != nullptr ? layer->linetypeObjectId() : AcDbObjectId::kNull;
        if (id == mDb.impl().linetypeByBlock)
            return parent.nested ? parent.blockLinetype : AcDbObjectId::kNull;
        return id;
    }

    int effectiveLineweight(
        const AcDbEntity& e, const AcDbLayerTableRecord* layer, const Inherited& parent) const
    {
        int weight = e.lineWeight();
        if (weight == AcDb::kLnWtByLayer)
            weight = layer != nullptr ? layer->lineWeight() : AcDb::kLnWtByLwDefault;
        if (weight == AcDb::kLnWtByBlock)
            weight = parent.nested ? parent.blockLineweight : AcDb::kLnWtByLwDefault;
        return weight < 0 ? mDefaultLineweight : weight;
    }

    // Dashes and width of the lines that follow. Highlighted entities are dashed whatever their
    // linetype, and at least two pixels wide; lineweights show only when the drawing displays them
    // (LWDISPLAY).
    void setLineStyle(
        bool highlighted, AcDbObjectId linetype, double linetypeScale, int lineweight, const AcGeMatrix3d& xf)
    {
        mLineWidth = mLineweightsShown ? lineweightPixels(lineweight) : 1;
        if (highlighted) {
            // Twice as heavy and dashed: a picture has no blinking to draw the eye.
            mLineWidth = std::max(mLineWidth, 2.0);
            setDashes({6.0, 4.0});
            return;
        }
        std::vector<double> pattern;
        if (!linetype.isNull() && linetype != mDb.impl().linetypeContinuous) {
            pattern = dashPattern(AcDbLinetypeTableRecord::cast(DatabaseImpl::peek(linetype)),
                mLtScale * linetypeScale * pixelsPerUnit(xf));
            // Dots and dashes shorter than a pixel still show as one.
            for (std::size_t i = 0; i < pattern.size(); i += 2)
                pattern[i] = std::max(pattern[i], 1.0);
        }
        setDashes(pattern);
    }

    // The figure PDMODE draws around a point: a cross, an x or a tick, with a circle (32) or a square
    // (64); PDSIZE sets its size in drawing units, or (negative) in per cent of the view's height, and
    // 0 is five per cent of it.
    void pointFigure(const AcGePoint3d& at)
    {
        const int shape = mPointMode & 7;
        if (shape < 2 && (mPointMode & 96) == 0)
            return;
        const double size = mPointSize > 0 ? mPointSize
            : mPointSize < 0               ? -mPointSize / 100.0 * mOptions.viewHeight
                                           : 0.05 * mOptions.viewHeight;
        const double h = size / 2;
        const double savedWidth = mLineWidth;
        setDashes({});
        auto stroke = [&](std::initializer_list<AcGeVector3d> offsets, bool closed) {
            std::vector<AcGePoint3d> points;
            for (const AcGeVector3d& v : offsets)
                points.push_back(at + v);
            strokePolyline(points, closed);
        };
        if (shape == 2) {
            stroke({AcGeVector3d(-h, 0, 0), AcGeVector3d(h, 0, 0)}, false);
            stroke({AcGeVector3d(0, -h, 0), AcGeVector3d(0, h, 0)}, false);
        } else if (shape == 3) {
            stroke({AcGeVector3d(-h, -h, 0), AcGeVector3d(h, h, 0)}, false);
            stroke({AcGeVector3d(-h, h, 0), AcGeVector3d(h, -h, 0)}, false);
        } else if (shape == 4) {
            stroke({AcGeVector3d(0, 0, 0), AcGeVector3d(0, h, 0)}, false);
        }
        if ((mPointMode & 32) != 0)
            strokePolyline(arcPoints(at, h, 0, 2 * kPi, AcGeMatrix3d()), true);
        if ((mPointMode & 64) != 0)
            stroke({AcGeVector3d(-h, -h, 0), AcGeVector3d(h, -h, 0), AcGeVector3d(h, h, 0),
                       AcGeVector3d(-h, h, 0)},
                true);
        mLineWidth = savedWidth;
    }

    // Lays texts out in the face chosen for a style from now on; the face's capital height is measured
    // once, so that every face draws its capitals as high as the text's height.
    void useFont(const FontChoice& choice)
    {
        const std::string key = choice.family + (choice.bold ? "/b" : "") + (choice.italic ? "/i" : "");
        if (key == mFontKey)
            return;
        auto face = mFaces.find(key);
        if (face == mFaces.end()) {
            Face made;
            made.description.reset(pango_font_description_from_string("Sans"));
            pango_font_description_set_family(made.description.get(), choice.family.c_str());
            pango_font_description_set_weight(
                made.description.get(), choice.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
            pango_font_description_set_style(
                made.description.get(), choice.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
            pango_font_description_set_absolute_size(made.description.get(), kLayoutFontPixels * PANGO_SCALE);
            pango_layout_set_font_description(mLayout.get(), made.description.get());
            pango_layout_set_text(mLayout.get(), "H", -1);
            PangoRectangle ink;
            pango_layout_get_extents(mLayout.get(), &ink, nullptr);
            made.capHeight = std::max(1.0, static_cast<double>(ink.height) / PANGO_SCALE);
            face = mFaces.emplace(key, std::move(made)).first;
        }
        pango_layout_set_font_description(mLayout.get(), face->second.description.get());
        mCapHeight = face->second.capHeight;
        mFontKey = key;
    }

    void useStyleFont(AcDbObjectId styleId)
    {
        std::wstring file = L"txt";
        if (const auto* style = AcDbTextStyleTableRecord::cast(DatabaseImpl::peek(styleId))) {
            const ACHAR* name = nullptr;
            if (style->fileName(name) == Acad::eOk && name != nullptr && *name != 0)
                file = name;
        }
        useFont(mFonts.choose(file));
    }

    AcDbObjectId effectiveLayer(const AcDbEntity& e, const Inherited& parent) const
    {
        if (parent.nested && e.layerId() == mDb.layerZero())
            return parent.blockLayer;
        return e.layerId();
    }

    Rgb resolve(const AcCmColor& color, const AcDbLayerTableRecord* layer, const Inherited& parent) const
    {
        if (color.isByLayer()) {
            if (layer == nullptr)
                return aciColor(7, mOptions.whiteBackground);
            const AcCmColor layerColor = layer->color();
            if (layerColor.isByColor())
                return {layerColor.red(), layerColor.green(), layerColor.blue()};
            return aciColor(std::abs(static_cast<int>(static_cast<short>(layerColor.colorIndex()))),
                mOptions.whiteBackground);
        }
        if (color.isByBlock())
            return parent.nested ? parent.blockColor : aciColor(7, mOptions.whiteBackground);
        if (color.isByColor())
            return {color.red(), color.green(), color.blue()};
        return aciColor(color.colorIndex(), mOptions.whiteBackground);
    }

    void setColor(const Rgb& c)
    {
        cairo_set_source_rgb(mCr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
        if (mPixels != nullptr)
            mPixels->setColor(c);
    }

    // Dash pattern of the lines that follow, in pixels: drawn, skipped, drawn, ...; empty for solid.
    void setDashes(const std::vector<double>& onOff)
    {
        cairo_set_dash(mCr, onOff.data(), static_cast<int>(onOff.size()), 0);
        if (mPixels != nullptr)
            mPixels->setDashes(onOff);
    }

    // The surface is drawn on either by cairo or directly; each switch tells cairo.
    void usePixels()
    {
        if (mCairoDrew)
            cairo_surface_flush(cairo_get_target(mCr));
        mCairoDrew = false;
        mPixelsDrew = true;
    }
    void useCairo()
    {
        if (mPixelsDrew)
            cairo_surface_mark_dirty(cairo_get_target(mCr));
        mPixelsDrew = false;
        mCairoDrew = true;
    }

    std::pair<double, double> device(const AcGePoint3d& world) const
    {
        const double x = (world.x - mOptions.center.x) * mScale + mOptions.width / 2.0;
        const double y = mOptions.height / 2.0 - (world.y - mOptions.center.y) * mScale;
        return {x, y};
    }

    // Device pixels per drawing unit of the entity's own coordinates (the block scale included).
    double pixelsPerUnit(const AcGeMatrix3d& xf) const
    {
        const AcGeVector3d ux = xf * AcGePoint3d(1, 0, 0) - xf * AcGePoint3d::kOrigin;
        const AcGeVector3d uy = xf * AcGePoint3d(0, 1, 0) - xf * AcGePoint3d::kOrigin;
        return std::max(ux.length(), uy.length()) * mScale;
    }

    int segmentsFor(double sweep, double radius, const AcGeMatrix3d& xf) const
    {
        const double pixels = std::abs(sweep) * radius * pixelsPerUnit(xf);
        return std::clamp(static_cast<int>(std::sqrt(pixels) * 2.0) + 2, 2, 1024);
    }

    // Points of an arc in the entity's coordinates, transformed to the world.
    std::vector<AcGePoint3d> arcPoints(
        const AcGePoint3d& c, double r, double start, double sweep, const AcGeMatrix3d& xf) const
    {
        const int n = segmentsFor(sweep, r, xf);
        std::vector<AcGePoint3d> points;
        points.reserve(static_cast<std::size_t>(n) + 1);
        for (int i = 0; i <= n; ++i) {
            const double a = start + sweep * i / n;
            points.push_back(xf * AcGePoint3d(c.x + r * std::cos(a), c.y + r * std::sin(a), c.z));
        }
        return points;
    }

    void strokePolyline(const std::vector<AcGePoint3d>& world, bool closed)
    {
        if (world.empty())
            return;
        if (mPixels != nullptr && mLineWidth <= 1) {
            usePixels();
            const auto [x0, y0] = device(world.front());
            mPixels->moveTo(x0, y0);
            if (world.size() == 1)
                mPixels->dot(x0, y0);
            for (std::size_t i = 1; i < world.size(); ++i) {
                const auto [x, y] = device(world[i]);
                mPixels->lineTo(x, y);
            }
            if (closed)
                mPixels->lineTo(x0, y0);
            return;
        }
        useCairo();
        for (std::size_t i = 0; i < world.size(); ++i) {
            const auto [x, y] = device(world[i]);
            // Pixel centres: a one-pixel line covers whole pixels in the raster.
            if (i == 0)
                cairo_move_to(mCr, std::floor(x) + 0.5, std::floor(y) + 0.5);
            else
                cairo_line_to(mCr, std::floor(x) + 0.5, std::floor(y) + 0.5);
        }
        if (closed)
            cairo_close_path(mCr);
        cairo_set_line_width(mCr, mLineWidth);
        cairo_set_line_cap(mCr, mLineWidth > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(mCr, mLineWidth > 1 ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
        cairo_stroke(mCr);
    }

    // One polyline segment sampled in the entity's coordinates: points with their widths and normals.
    void segmentSamples(const Vertex& a, const Vertex& b, const AcGeMatrix3d& xf,
        std::vector<AcGePoint3d>& pts, std::vector<AcGeVector3d>& normals, std::vector<double>& widths) const
    {
        const AcGeVector3d chord = b.point - a.point;
        const double length = chord.length();
        if (std::abs(a.bulge) < 1e-12 || length < 1e-12) {
            const AcGeVector3d n
                = length < 1e-12 ? AcGeVector3d(0, 1, 0) : AcGeVector3d(-chord.y, chord.x, 0) / length;
            pts.insert(pts.end(), {a.point, b.point});
            normals.insert(normals.end(), {n, n});
            widths.insert(widths.end(), {a.startWidth, a.endWidth});
            return;
        }
        const double sweep = 4.0 * std::atan(a.bulge);
        const double radius = length / (2.0 * std::sin(std::abs(sweep) / 2.0));
        const AcGeVector3d left(-chord.y / length, chord.x / length, 0);
        const AcGePoint3d mid = a.point + chord / 2.0;
        const AcGePoint3d centre
            = mid + left * ((length / 2.0) * (1.0 - a.bulge * a.bulge) / (2.0 * a.bulge));
        const double start = std::atan2(a.point.y - centre.y, a.point.x - centre.x);
        const int n = segmentsFor(sweep, radius, xf);
        for (int i = 0; i <= n; ++i) {
            const double t = static_cast<double>(i) / n;
            const double ang = start + sweep * t;
            const AcGeVector3d radial(std::cos(ang), std::sin(ang), 0);
            pts.push_back(centre + radial * radius);
            // The left normal of the direction of travel.
            normals.push_back(sweep > 0 ? -radial : radial);
            widths.push_back(a.startWidth + (a.endWidth - a.startWidth) * t);
        }
    }

    void polyline(const std::vector<Vertex>& vertices, bool closed, const AcGeMatrix3d& xf)
    {
        if (vertices.empty())
            return;
        const std::size_t segments = closed ? vertices.size() : vertices.size() - 1;
        bool wide = false;
        for (std::size_t i = 0; i < segments; ++i)
            wide = wide || vertices[i].startWidth > 0 || vertices[i].endWidth > 0;
        if (!wide) {
            std::vector<AcGePoint3d> world;
            for (std::size_t i = 0; i < segments; ++i) {
                std::vector<AcGePoint3d> pts;
                std::vector<AcGeVector3d> normals;
                std::vector<double> widths;
                segmentSamples(vertices[i], vertices[(i + 1) % vertices.size()], xf, pts, normals, widths);
                for (std::size_t k = world.empty() ? 0 : 1; k < pts.size(); ++k)
                    world.push_back(xf * pts[k]);
            }
            if (segments == 0)
                world.push_back(xf * vertices.front().point);
            strokePolyline(world, closed);
            return;
        }
        // A wide segment is a filled band; each segment is filled on its own, as the host fills them.
        useCairo();
        for (std::size_t i = 0; i < segments; ++i) {
            std::vector<AcGePoint3d> pts;
            std::vector<AcGeVector3d> normals;
            std::vector<double> widths;
            segmentSamples(vertices[i], vertices[(i + 1) % vertices.size()], xf, pts, normals, widths);
            std::vector<AcGePoint3d> outline;
            for (std::size_t k = 0; k < pts.size(); ++k)
                outline.push_back(xf * (pts[k] + normals[k] * (widths[k] / 2)));
            for (std::size_t k = pts.size(); k-- > 0;)
                outline.push_back(xf * (pts[k] - normals[k] * (widths[k] / 2)));
            for (std::size_t k = 0; k < outline.size(); ++k) {
                const auto [x, y] = device(outline[k]);
                if (k == 0)
                    cairo_move_to(mCr, x, y);
                else
                    cairo_line_to(mCr, x, y);
            }
            cairo_close_path(mCr);
            cairo_fill_preserve(mCr);
            cairo_set_line_width(mCr, 1.0);
            cairo_stroke(mCr);
        }
    }

    // Lays the text out and draws it with its anchor at `anchor` (entity coordinates), running along
    // `angle`, its capitals `height` high.
    void textRun(const std::wstring& text, const AcGePoint3d& anchor, double angle, double height,
        double widthFactor, const TextPlacement& place, const AcGeMatrix3d& xf, double oblique = 0.0)
    {
        if (text.empty() || height <= 0)
            return;
        if (height * pixelsPerUnit(xf) < kSmallestReadableText) {
            smallText(text, anchor, angle, height, widthFactor, place, xf);
            return;
        }
        useCairo();
        const std::string utf8 = toUtf8(expandControlCodes(text));
        pango_layout_set_text(mLayout.get(), utf8.c_str(), -1);
        mStats.unknownGlyphs += pango_layout_get_unknown_glyphs_count(mLayout.get());
        PangoRectangle ink;
        PangoRectangle logical;
        pango_layout_get_extents(mLayout.get(), &ink, &logical);
        // A left-aligned text starts where its first character's cell starts; centred, right-aligned and
        // fitted texts are placed by their glyphs, so that they sit flush on their alignment point.
        const bool byGlyphs = place.along > 0 || place.fitWidth > 0;
        const PangoRectangle& box = byGlyphs && ink.width > 0 ? ink : logical;
        const double layoutWidth = std::max(1.0, static_cast<double>(box.width) / PANGO_SCALE);
        const double layoutHeight = static_cast<double>(logical.height) / PANGO_SCALE;
        const double baseline = static_cast<double>(pango_layout_get_baseline(mLayout.get())) / PANGO_SCALE;

        // The text's own axes carried into the world by the block transform.
        const AcGeVector3d along(std::cos(angle), std::sin(angle), 0);
        const AcGeVector3d up(-along.y, along.x, 0);
        const AcGePoint3d worldAnchor = xf * anchor;
        const AcGeVector3d worldAlong = xf * (anchor + along) - worldAnchor;
        const AcGeVector3d worldUp = xf * (anchor + up) - worldAnchor;
        const double worldAngle = std::atan2(worldAlong.y, worldAlong.x);

        double ky = height * worldUp.length() * mScale / mCapHeight;
        double kx = ky * widthFactor;
        if (place.fitWidth > 0) {
            kx = place.fitWidth * worldAlong.length() * mScale / layoutWidth;
            if (place.keepAspect)
                ky = kx;
        }
        double shiftY = -baseline;
        switch (place.vertical) {
        case AcDb::kTextBottom:
            shiftY = -layoutHeight;
            break;
        case AcDb::kTextVertMid:
            shiftY = -baseline + mCapHeight / 2;
            break;
        case AcDb::kTextTop:
            shiftY = -baseline + mCapHeight;
            break;
        default:
            break;
        }
        const auto [x, y] = device(worldAnchor);
        cairo_save(mCr);
        cairo_translate(mCr, x, y);
        cairo_rotate(mCr, -worldAngle);
        cairo_scale(mCr, kx, ky);
        cairo_translate(mCr, -place.along * layoutWidth - static_cast<double>(box.x) / PANGO_SCALE, 0);
        if (oblique != 0.0) {
            // Slanted about the baseline: what lies above it moves along the run (y points down here).
            cairo_matrix_t shear;
            cairo_matrix_init(&shear, 1, 0, -std::tan(oblique), 1, 0, 0);
            cairo_transform(mCr, &shear);
        }
        cairo_translate(mCr, 0, shiftY);
        // The layout keeps the metrics it was made with (an untransformed context): glyphs are laid
        // out once and the transform only stretches the result.
        pango_cairo_show_layout(mCr, mLayout.get());
        cairo_restore(mCr);
    }

    // A text too small to read, drawn as a line through the middle of the space it takes: characters of
    // the wide scripts count a full height wide, the others six tenths.
    void smallText(const std::wstring& text, const AcGePoint3d& anchor, double angle, double height,
        double widthFactor, const TextPlacement& place, const AcGeMatrix3d& xf)
    {
        double width = place.fitWidth;
        if (width <= 0) {
            double ems = 0;
            for (wchar_t c : text)
                ems += c >= 0x2E80 ? 1.0 : 0.6;
            width = ems * height * widthFactor;
        }
        const double middle = place.vertical == AcDb::kTextVertMid ? 0.0
            : place.vertical == AcDb::kTextTop                     ? -height / 2
            : place.vertical == AcDb::kTextBottom                  ? height * 0.8
                                                                   : height / 2;
        const AcGeVector3d along(std::cos(angle), std::sin(angle), 0);
        const AcGeVector3d up(-along.y, along.x, 0);
        const AcGePoint3d left = anchor - along * (place.along * width) + up * middle;
        strokePolyline({xf * left, xf * (left + along * width)}, false);
    }

    void drawText(const AcDbText& text, const AcGeMatrix3d& xf, bool highlighted)
    {
        TextPlacement place;
        AcGePoint3d anchor = text.position();
        double angle = text.rotation();
        const AcDb::TextHorzMode h = text.horizontalMode();
        if (!text.isDefaultAlignment()) {
            anchor = text.alignmentPoint();
            place.vertical = text.verticalMode();
        }
        if (h == AcDb::kTextCenter)
            place.along = 0.5;
        else if (h == AcDb::kTextRight)
            place.along = 1.0;
        else if (h == AcDb::kTextMid) {
            place.along = 0.5;
            place.vertical = AcDb::kTextVertMid;
        } else if (h == AcDb::kTextAlign || h == AcDb::kTextFit) {
            const AcGeVector3d run = text.alignmentPoint() - text.position();
            anchor = text.position();
            place.vertical = AcDb::kTextBase;
            if (!run.isZeroLength()) {
                angle = std::atan2(run.y, run.x);
                place.fitWidth = run.length();
                place.keepAspect = h == AcDb::kTextAlign;
            }
        }
        useStyleFont(text.textStyle());
        textRun(text.textStringConst(), anchor, angle, text.height(), text.widthFactor(), place, xf,
            text.oblique());
        if (highlighted) {
            AcGePoint3d corners[4];
            text.hostBox(corners);
            std::vector<AcGePoint3d> box;
            for (const AcGePoint3d& c : corners)
                box.push_back(xf * c);
            strokePolyline(box, true);
        }
    }

    void radialDimension(const AcDbRadialDimension& dim, const AcGeMatrix3d& xf,
        const AcDbLayerTableRecord* layer, const Rgb& own, const Inherited& parent)
    {
        // Dimension line and text colours: ByBlock (0) is the dimension's own colour.
        auto partColor = [&](int index) {
            if (index == 0)
                return own;
            AcCmColor c;
            c.setColorIndex(static_cast<Adesk::UInt16>(index));
            return resolve(c, layer, parent);
        };
        const AcGePoint3d chord = dim.chordPoint();
        const AcGePoint3d end = dim.hostLeaderEnd();
        setColor(partColor(dim.dimclrd()));
        strokePolyline({xf * chord, xf * end}, false);
        useCairo();
        const AcGeVector3d inward = chord - end;
        const double size = dim.dimasz() * dim.dimscale();
        if (!inward.isZeroLength() && size > 0) {
            const AcGeVector3d dir = inward.normal();
            const AcGeVector3d side(-dir.y, dir.x, 0);
            const AcGePoint3d back = chord - dir * size;
            const AcGePoint3d head[3] = {chord, back + side * (size / 6), back - side * (size / 6)};
            for (int i = 0; i < 3; ++i) {
                const auto [x, y] = device(xf * head[i]);
                if (i == 0)
                    cairo_move_to(mCr, x, y);
                else
                    cairo_line_to(mCr, x, y);
            }
            cairo_close_path(mCr);
            cairo_fill(mCr);
        }
        // The text sits beyond the leader's end, on the side the leader points to.
        const AcGePoint3d at = dim.isUsingDefaultTextPosition() ? end : dim.textPosition();
        const bool leftward = (end - chord).x < 0;
        const double gap = dim.dimgap() * dim.dimscale();
        TextPlacement place;
        place.along = leftward ? 1.0 : 0.0;
        place.vertical = AcDb::kTextVertMid;
        setColor(partColor(dim.dimclrt()));
        useFont(FontChoice {"Sans", false, false});
        const AcGePoint3d anchor = at + AcGeVector3d(leftward ? -gap : gap, 0, 0);
        textRun(
            dim.hostFormattedText().kwszPtr(), anchor, 0.0, dim.dimtxt() * dim.dimscale(), 1.0, place, xf);
    }

    void blockReference(const AcDbBlockReference& ref, const AcGeMatrix3d& xf, const Inherited& inherited,
        bool highlighted, int depth)
    {
        if (depth >= kMaxNesting)
            return;
        const auto* block = AcDbBlockTableRecord::cast(DatabaseImpl::peek(ref.blockTableRecord()));
        if (block == nullptr)
            return;
        const AcGeMatrix3d inner = xf * ref.blockTransform();
        for (AcDbObjectId id : block->hostEntityIds()) {
            if (const auto* child = AcDbEntity::cast(DatabaseImpl::peek(id)))
                entity(*child, inner, inherited, highlighted, depth + 1);
        }
        if (depth == 0)
            ++mStats.entities;
    }

    cairo_t* mCr;
    PixelCanvas* mPixels;
    bool mPixelsDrew = false;
    bool mCairoDrew = false;
    const AcDbDatabase& mDb;
    const RenderOptions& mOptions;
    RenderStats& mStats;
    double mScale;
    LayoutPtr mLayout;
    struct Face {
        FontPtr description;
        double capHeight = 1.0;
    };
    std::map<std::string, Face> mFaces;
    std::string mFontKey;
    FontFinder mFonts;
    double mCapHeight = 1.0;
    double mLtScale;
    int mPointMode;
    double mPointSize;
    bool mLineweightsShown;
    int mDefaultLineweight;
    double mLineWidth = 1.0;
};

Painter::Painter(cairo_t* cr, PixelCanvas* pixels, const AcDbDatabase& db, const RenderOptions& options,
    RenderStats& stats)
    : mImpl(std::make_unique<Impl>(cr, pixels, db, options, stats))
{
}

Painter::~Painter() = default;

void Painter::background()
{
    mImpl->background();
}

void Painter::finish()
{
    mImpl->finish();
}

void Painter::entity(const AcDbEntity& entity, bool highlighted)
{
    mImpl->entity(entity, AcGeMatrix3d(), Inherited {}, highlighted, 0);
}

} // namespace arxhost::render
