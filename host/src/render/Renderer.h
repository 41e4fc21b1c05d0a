// Draws the model space of a drawing as the host's screen shows it, into a PNG, SVG or PDF file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "dbid.h"
#include "gepnt3d.h"

class AcDbDatabase;

namespace arxhost {
class Session;
}

namespace arxhost::render {

enum class ImageFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension (case-insensitive), or nothing.
std::optional<ImageFormat> formatOf(const std::filesystem::path& file);

struct RenderOptions {
    int width = 1600;
    int height = 1200;
    // The view: the centre and the height of the drawing window shown; its width follows the picture's
    // aspect.
    AcGePoint3d center {210, 148.5, 0};
    double viewHeight = 297;
    // Black (the host's model space) unless a white background is asked for.
    bool whiteBackground = false;
    // Entities drawn highlighted (dashed), as the host shows a selection.
    std::set<AcDbObjectId> highlighted;
};

struct RenderStats {
    // Model-space entities the view window found and drew.
    std::size_t entities = 0;
    // Characters of texts no installed font could show (drawn as boxes).
    int unknownGlyphs = 0;
};

class Renderer {
public:
    Renderer(const AcDbDatabase& db, RenderOptions options);

    // Writes the picture in the format the file's extension names. False with a one-line error when the
    // extension is unknown, the size is not positive or the file cannot be written.
    bool render(const std::filesystem::path& file, std::string& error);
    const RenderStats& stats() const { return mStats; }

private:
    const AcDbDatabase& mDb;
    RenderOptions mOptions;
    RenderStats mStats;
};

// A window onto the drawing: its centre and height in drawing units.
struct ViewWindow {
    AcGePoint3d center;
    double height = 0;
    bool operator==(const ViewWindow& other) const
    {
        return center == other.center && height == other.height;
    }
};

// The session's current view (what the last ZOOM left).
ViewWindow sessionView(Session& session);
// The window that shows the drawing's extents whole in a picture of the given aspect; the limits of an
// empty drawing.
ViewWindow extentsView(AcDbDatabase& db, int width, int height);

// The session's drawing seen through the window, with its highlighted entities, drawn into the file.
bool renderSessionView(Session& session, const ViewWindow& view, const std::filesystem::path& file, int width,
    int height, std::string& error);

} // namespace arxhost::render
