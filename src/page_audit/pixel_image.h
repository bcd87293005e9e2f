#pragma once

#include "base/colour_value.h"

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

class QIODevice;

namespace pigmora {

// A rectangle of device pixels: columns x .. x + width - 1, rows y .. y + height - 1.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    int right() const { return x + width; } // one past the last column
    int bottom() const { return y + height; }
    PixelRect intersected(const PixelRect& other) const;
    PixelRect united(const PixelRect& other) const; // an empty side is left out
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A picture in 8-bit RGB, rows top to bottom, three bytes a pixel, placed at `origin` on the
// page: pixel (0, 0) is the page's device pixel (origin.x, origin.y).
struct PixelImage {
    int width = 0;
    int height = 0;
    int originX = 0;
    int originY = 0;
    std::vector<std::uint8_t> rgb;

    PixelImage() = default;
    PixelImage(int w, int h, Rgb fill = {255, 255, 255});
    bool empty() const { return width <= 0 || height <= 0; }
    PixelRect area() const { return {originX, originY, width, height}; }
    // The pixel at page coordinates (x, y), which must lie inside.
    Rgb pageAt(int x, int y) const {
        const std::uint8_t* p = rgb.data() + (std::size_t(y - originY) * width + (x - originX)) * 3;
        return {p[0], p[1], p[2]};
    }
    void set(int x, int y, Rgb c); // in the picture's own coordinates
    // The part inside `pageRect`, keeping page coordinates.
    PixelImage cut(const PixelRect& pageRect) const;
};

// Reads a PNG of 8 bits a channel, RGB or RGBA, not interlaced, as Chromium writes them (alpha
// is dropped; a screenshot is opaque). Empty for anything else.
std::optional<PixelImage> decodePng(const QByteArray& png);

// Writes a PNG row band by row band, so a picture of any height needs only its band in memory.
class PngWriter {
public:
    // Writes the header; false (with `error()`) when the device refuses it.
    bool start(QIODevice& device, int width, int height);
    // The next rows, `rows` of them, each `width` pixels of RGB.
    bool addRows(const std::uint8_t* rgb, int rows);
    bool finish();
    ~PngWriter();

private:
    bool writeChunk(const char* type, const QByteArray& data);
    bool deflateSome(bool last);

    QIODevice* device_ = nullptr;
    int width_ = 0;
    int rowsLeft_ = 0;
    void* stream_ = nullptr; // z_stream
    QByteArray input_;
    bool failed_ = false;
};

QByteArray encodePng(const PixelImage& image);

} // namespace pigmora
