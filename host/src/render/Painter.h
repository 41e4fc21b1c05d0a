// Draws model-space entities onto a cairo surface as the host's screen shows them.
#pragma once

#include <cairo.h>

#include <memory>

#include "render/Renderer.h"

class AcDbEntity;

namespace arxhost::render {

class PixelCanvas;

class Painter {
public:
    // `pixels`, when given, draws the hairlines straight into the image surface cairo also draws on.
    Painter(cairo_t* cr, PixelCanvas* pixels, const AcDbDatabase& db, const RenderOptions& options,
        RenderStats& stats);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // The picture's background, black or white.
    void background();
    // A model-space entity (block references with everything in them); highlighted ones dashed and heavy.
    void entity(const AcDbEntity& entity, bool highlighted);
    // Hands the surface back to cairo after pixels were written into it directly.
    void finish();

private:
    class Impl;
    std::unique_ptr<Impl> mImpl;
};

} // namespace arxhost::render
