#include "pixel_image.h"

#include <QBuffer>
#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace pigmora {

PixelRect PixelRect::intersected(const PixelRect& o) const {
    const int left = std::max(x, o.x), top = std::max(y, o.y);
    const int r = std::min(right(), o.right()), b = std::min(bottom(), o.bottom());
    if (r <= left || b <= top)
        return {};
    return {left, top, r - left, b - top};
}

PixelRect PixelRect::united(const PixelRect& o) const {
    if (empty())
        return o;
    if (o.empty())
        return *this;
    const int left = std::min(x, o.x), top = std::min(y, o.y);
    return {left, top, std::max(right(), o.right()) - left, std::max(bottom(), o.bottom()) - top};
}

PixelImage::PixelImage(int w, int h, Rgb fill)
    : width(w)
    , height(h)
    , rgb(std::size_t(std::max(w, 0)) * std::max(h, 0) * 3) {
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = fill.red;
        rgb[i + 1] = fill.green;
        rgb[i + 2] = fill.blue;
    }
}

void PixelImage::set(int x, int y, Rgb c) {
    std::uint8_t* p = rgb.data() + (std::size_t(y) * width + x) * 3;
    p[0] = c.red;
    p[1] = c.green;
    p[2] = c.blue;
}

PixelImage PixelImage::cut(const PixelRect& pageRect) const {
    const PixelRect part = pageRect.intersected(area());
    PixelImage out(part.width, part.height);
    out.originX = part.x;
    out.originY = part.y;
    for (int row = 0; row < part.height; ++row)
        std::memcpy(out.rgb.data() + std::size_t(row) * part.width * 3,
                    rgb.data() +
                        (std::size_t(part.y - originY + row) * width + (part.x - originX)) * 3,
                    std::size_t(part.width) * 3);
    return out;
}

namespace {

constexpr unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

// Undoes one row's filter in place; `previous` is the row above, already unfiltered (zeros for
// the first row).
bool unfilter(int type, std::uint8_t* row, const std::uint8_t* previous, std::size_t length,
              int bpp) {
    switch (type) {
    case 0:
        return true;
    case 1:
        for (std::size_t i = bpp; i < length; ++i)
            row[i] = std::uint8_t(row[i] + row[i - bpp]);
        return true;
    case 2:
        for (std::size_t i = 0; i < length; ++i)
            row[i] = std::uint8_t(row[i] + previous[i]);
        return true;
    case 3:
        for (std::size_t i = 0; i < length; ++i)
            row[i] = std::uint8_t(row[i] +
                                  ((i >= std::size_t(bpp) ? row[i - bpp] : 0) + previous[i]) / 2);
        return true;
    case 4:
        for (std::size_t i = 0; i < length; ++i)
            row[i] =
                std::uint8_t(row[i] + paeth(i >= std::size_t(bpp) ? row[i - bpp] : 0, previous[i],
                                            i >= std::size_t(bpp) ? previous[i - bpp] : 0));
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<PixelImage> decodePng(const QByteArray& png) {
    const auto* data = reinterpret_cast<const unsigned char*>(png.constData());
    const std::size_t size = std::size_t(png.size());
    if (size < 8 + 25 || std::memcmp(data, signature, 8) != 0)
        return std::nullopt;
    std::size_t at = 8;
    quint32 width = 0, height = 0;
    int bpp = 0;
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return std::nullopt;
    struct End {
        z_stream* z;
        ~End() { inflateEnd(z); }
    } end{&z};
    std::vector<std::uint8_t> raw; // filter byte + row, row after row
    bool ended = false;
    while (at + 12 <= size) {
        const quint32 length = qFromBigEndian<quint32>(data + at);
        const unsigned char* type = data + at + 4;
        const unsigned char* body = data + at + 8;
        if (length > size - at - 12)
            return std::nullopt;
        if (std::memcmp(type, "IHDR", 4) == 0) {
            if (length != 13)
                return std::nullopt;
            width = qFromBigEndian<quint32>(body);
            height = qFromBigEndian<quint32>(body + 4);
            const int depth = body[8], colourType = body[9], interlace = body[12];
            if (depth != 8 || (colourType != 2 && colourType != 6) || interlace != 0 ||
                width == 0 || height == 0 || width > 1'000'000 || height > 10'000'000 ||
                quint64(width) * height > 400'000'000)
                return std::nullopt;
            bpp = colourType == 2 ? 3 : 4;
            raw.resize((std::size_t(width) * bpp + 1) * height);
            z.next_out = raw.data();
            z.avail_out = uInt(raw.size());
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            if (bpp == 0 || ended)
                return std::nullopt;
            z.next_in = const_cast<unsigned char*>(body);
            z.avail_in = length;
            while (z.avail_in > 0 && !ended) {
                const int status = inflate(&z, Z_NO_FLUSH);
                if (status == Z_STREAM_END)
                    ended = true;
                else if (status != Z_OK)
                    return std::nullopt;
                else if (z.avail_out == 0 && z.avail_in > 0)
                    return std::nullopt; // more data than the picture holds
            }
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        at += 12 + length;
    }
    if (!ended || z.avail_out != 0)
        return std::nullopt;
    PixelImage image;
    image.width = int(width);
    image.height = int(height);
    image.rgb.resize(std::size_t(width) * height * 3);
    const std::size_t stride = std::size_t(width) * bpp;
    std::vector<std::uint8_t> zeros(stride, 0);
    const std::uint8_t* previous = zeros.data();
    for (quint32 row = 0; row < height; ++row) {
        std::uint8_t* line = raw.data() + row * (stride + 1);
        if (!unfilter(line[0], line + 1, previous, stride, bpp))
            return std::nullopt;
        const std::uint8_t* pixels = line + 1;
        std::uint8_t* out = image.rgb.data() + std::size_t(row) * width * 3;
        if (bpp == 3) {
            std::memcpy(out, pixels, stride);
        } else {
            for (quint32 x = 0; x < width; ++x) {
                out[x * 3] = pixels[x * 4];
                out[x * 3 + 1] = pixels[x * 4 + 1];
                out[x * 3 + 2] = pixels[x * 4 + 2];
            }
        }
        previous = pixels;
    }
    return image;
}

PngWriter::~PngWriter() {
    if (stream_) {
        deflateEnd(static_cast<z_stream*>(stream_));
        delete static_cast<z_stream*>(stream_);
    }
}

bool PngWriter::writeChunk(const char* type, const QByteArray& data) {
    QByteArray chunk(8, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    std::memcpy(chunk.data() + 4, type, 4);
    chunk += data;
    uLong crc =
        crc32(0, reinterpret_cast<const Bytef*>(chunk.constData() + 4), uInt(chunk.size() - 4));
    QByteArray tail(4, '\0');
    qToBigEndian<quint32>(quint32(crc), tail.data());
    chunk += tail;
    if (device_->write(chunk) != chunk.size())
        failed_ = true;
    return !failed_;
}

bool PngWriter::start(QIODevice& device, int width, int height) {
    device_ = &device;
    width_ = width;
    rowsLeft_ = height;
    if (device.write(reinterpret_cast<const char*>(signature), 8) != 8)
        return !(failed_ = true);
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(width), header.data());
    qToBigEndian<quint32>(quint32(height), header.data() + 4);
    header[8] = 8; // bits a channel
    header[9] = 2; // RGB
    auto* z = new z_stream{};
    stream_ = z;
    // Level 1: screenshots are mostly flat colour, which the fastest level packs nearly as well.
    if (deflateInit(z, 1) != Z_OK)
        return !(failed_ = true);
    return writeChunk("IHDR", header);
}

bool PngWriter::deflateSome(bool last) {
    auto* z = static_cast<z_stream*>(stream_);
    z->next_in = reinterpret_cast<Bytef*>(input_.data());
    z->avail_in = uInt(input_.size());
    QByteArray out;
    char buffer[1 << 16];
    int status = Z_OK;
    do {
        z->next_out = reinterpret_cast<Bytef*>(buffer);
        z->avail_out = sizeof buffer;
        status = deflate(z, last ? Z_FINISH : Z_NO_FLUSH);
        out.append(buffer, int(sizeof buffer - z->avail_out));
    } while (z->avail_out == 0 || (last && status != Z_STREAM_END));
    input_.clear();
    return out.isEmpty() || writeChunk("IDAT", out);
}

bool PngWriter::addRows(const std::uint8_t* rgb, int rows) {
    if (failed_ || rows > rowsLeft_)
        return false;
    const int stride = width_ * 3;
    for (int row = 0; row < rows; ++row) {
        input_.append('\0'); // no filter
        input_.append(reinterpret_cast<const char*>(rgb) + std::size_t(row) * stride, stride);
    }
    rowsLeft_ -= rows;
    return deflateSome(false);
}

bool PngWriter::finish() {
    if (failed_ || rowsLeft_ != 0)
        return false;
    return deflateSome(true) && writeChunk("IEND", {});
}

QByteArray encodePng(const PixelImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    PngWriter writer;
    if (!writer.start(buffer, image.width, image.height) ||
        !writer.addRows(image.rgb.data(), image.height) || !writer.finish())
        return {};
    return bytes;
}

} // namespace pigmora
