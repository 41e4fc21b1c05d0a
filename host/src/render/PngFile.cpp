// PNG through libpng directly: cairo's own writer uses the default compression level and tries every
// row filter, which for a 4000 x 4000 picture costs more than drawing it. A drawing is mostly background
// with thin lines in a few colours: a picture of at most 256 colours is written with a palette (a third
// of the bytes to compress), and the "up" filter with the fastest compression level keeps the files
// small and the writing several times faster.
#include "render/PngFile.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace arxhost::render {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

void onError(png_structp png, png_const_charp message)
{
    auto* error = static_cast<std::string*>(png_get_error_ptr(png));
    *error = message;
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) { }

// The picture's colours when there are at most 256 of them, each pixel's index into them; empty when
// there are more.
struct Palette {
    std::vector<std::uint32_t> colors;
    std::vector<std::uint8_t> indexes; // one per pixel, row after row
};

Palette paletteOf(const unsigned char* data, int width, int height, int stride)
{
    // Open addressing over 1024 slots for at most 256 colours: short probes.
    constexpr std::size_t kSlots = 1024;
    std::vector<std::uint32_t> keys(kSlots);
    std::vector<std::int16_t> values(kSlots, -1);
    Palette palette;
    palette.indexes.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::uint32_t last = 0;
    int lastIndex = -1;
    std::size_t at = 0;
    for (int y = 0; y < height; ++y) {
        const auto* pixels
            = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x, ++at) {
            const std::uint32_t p = pixels[x] & 0x00FFFFFFu;
            if (p != last || lastIndex < 0) {
                std::size_t slot = (p * 2654435761u) >> 22; // the top 10 bits of a multiplicative hash
                while (values[slot] >= 0 && keys[slot] != p)
                    slot = (slot + 1) % kSlots;
                if (values[slot] < 0) {
                    if (palette.colors.size() == 256)
                        return {};
                    keys[slot] = p;
                    values[slot] = static_cast<std::int16_t>(palette.colors.size());
                    palette.colors.push_back(p);
                }
                last = p;
                lastIndex = values[slot];
            }
            palette.indexes[at] = static_cast<std::uint8_t>(lastIndex);
        }
    }
    return palette;
}

// libpng reports errors by longjmp: nothing with a destructor may live in this frame.
bool encode(std::FILE* out, cairo_surface_t* surface, const Palette& palette, std::string& error)
{
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, onError, onWarning);
    if (png == nullptr) {
        error = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    auto* row = static_cast<png_bytep>(std::malloc(static_cast<std::size_t>(width) * 3));
    if (info == nullptr || row == nullptr) {
        std::free(row);
        png_destroy_write_struct(&png, &info);
        error = "out of memory";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        std::free(row);
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    const bool indexed = !palette.colors.empty();
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
        indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color entries[256];
    if (indexed) {
        for (std::size_t i = 0; i < palette.colors.size(); ++i) {
            const std::uint32_t c = palette.colors[i];
            entries[i]
                = {static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)};
        }
        png_set_PLTE(png, info, entries, static_cast<int>(palette.colors.size()));
    }
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (int y = 0; indexed && y < height; ++y)
        png_write_row(png, palette.indexes.data() + static_cast<std::ptrdiff_t>(y) * width);
    for (int y = 0; !indexed && y < height; ++y) {
        // Cairo keeps a pixel as one native-endian 32-bit word, 0xAARRGGBB.
        const auto* pixels
            = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[x];
            row[3 * x] = static_cast<png_byte>(p >> 16);
            row[3 * x + 1] = static_cast<png_byte>(p >> 8);
            row[3 * x + 2] = static_cast<png_byte>(p);
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    std::free(row);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool writePng(cairo_surface_t* surface, const std::filesystem::path& file, std::string& error)
{
    cairo_surface_flush(surface);
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) {
        error = "not an RGB picture";
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(file.c_str(), "wb"));
    if (!out) {
        error = std::strerror(errno);
        return false;
    }
    const Palette palette
        = paletteOf(cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
            cairo_image_surface_get_height(surface), cairo_image_surface_get_stride(surface));
    std::string problem;
    bool written = encode(out.get(), surface, palette, problem);
    if (written && std::fflush(out.get()) != 0) {
        written = false;
        problem = std::strerror(errno);
    }
    if (std::fclose(out.release()) != 0 && written) {
        written = false;
        problem = std::strerror(errno);
    }
    if (!written) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        error = problem;
    }
    return written;
}

} // namespace arxhost::render
