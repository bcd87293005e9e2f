#include "image_file.h"

#include "base/german_locale.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstring>

namespace pigmora {

namespace {

quint32 bigEndian32(QByteArrayView b, qsizetype at) {
    return quint32(quint8(b[at])) << 24 | quint32(quint8(b[at + 1])) << 16 |
           quint32(quint8(b[at + 2])) << 8 | quint32(quint8(b[at + 3]));
}

FileStructure pngStructure(QByteArrayView b) {
    FileStructure s{FileEnd::Cut, false, true};
    qsizetype at = 8;
    bool beforeData = true;
    while (at + 8 <= b.size()) {
        const quint32 length = bigEndian32(b, at);
        const QByteArrayView type = b.sliced(at + 4, 4);
        if (length > 0x7FFFFFFFu || qint64(length) + 12 > b.size() - at)
            return s;
        if (type == "IDAT")
            beforeData = false;
        else if (type == "iCCP" && beforeData)
            s.embeddedProfile = true;
        else if (type == "IEND") {
            s.end = FileEnd::Whole;
            return s;
        }
        at += qsizetype(length) + 12;
    }
    return s;
}

FileStructure jpegStructure(QByteArrayView b) {
    FileStructure s{FileEnd::Cut, false, false};
    qsizetype at = 2;
    const auto byte = [&b](qsizetype i) { return quint8(b[i]); };
    while (at < b.size()) {
        if (byte(at) != 0xFF)
            return s; // no marker where one must stand: damaged
        while (at < b.size() && byte(at) == 0xFF)
            ++at; // fill bytes
        if (at >= b.size())
            return s;
        const quint8 marker = byte(at++);
        if (marker == 0xD9) {
            s.end = FileEnd::Whole;
            return s;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // no length
        if (at + 2 > b.size())
            return s;
        const qsizetype length = byte(at) << 8 | byte(at + 1);
        if (length < 2 || at + length > b.size())
            return s;
        if (marker == 0xE2 && length >= 14 &&
            b.sliced(at + 2, 12) == QByteArrayView("ICC_PROFILE\0", 12))
            s.embeddedProfile = true;
        at += length;
        if (marker == 0xDA) {
            // The coded data run to the next marker: 0xFF followed by neither a stuffed zero nor
            // a restart marker.
            for (;;) {
                const void* ff = std::memchr(b.data() + at, 0xFF, std::size_t(b.size() - at));
                if (!ff)
                    return s;
                at = static_cast<const char*>(ff) - b.data();
                if (at + 1 >= b.size())
                    return s;
                const quint8 next = byte(at + 1);
                if (next == 0x00 || (next >= 0xD0 && next <= 0xD7) || next == 0xFF) {
                    at += next == 0xFF ? 1 : 2;
                    continue;
                }
                break;
            }
        }
    }
    return s;
}

FileStructure gifStructure(QByteArrayView b) {
    FileStructure s{FileEnd::Cut, false, false};
    if (b.size() < 13)
        return s;
    const auto byte = [&b](qsizetype i) { return quint8(b[i]); };
    qsizetype at = 13;
    if (byte(10) & 0x80)
        at += 3 * (qsizetype(2) << (byte(10) & 7));
    // Data sub-blocks: a size byte and that many bytes, up to a block of size 0.
    const auto skipBlocks = [&]() {
        while (at < b.size()) {
            const quint8 size = byte(at++);
            if (size == 0)
                return true;
            at += size;
        }
        return false;
    };
    while (at < b.size()) {
        const quint8 block = byte(at++);
        if (block == 0x3B) {
            s.end = FileEnd::Whole;
            return s;
        }
        if (block == 0x21) {
            ++at; // the label
            if (!skipBlocks())
                return s;
        } else if (block == 0x2C) {
            if (at + 9 > b.size())
                return s;
            const quint8 flags = byte(at + 8);
            at += 9;
            if (flags & 0x80)
                at += 3 * (qsizetype(2) << (flags & 7));
            ++at; // the smallest LZW code size
            if (at > b.size() || !skipBlocks())
                return s;
        } else {
            return s; // no block starts so: damaged
        }
    }
    return s;
}

QString number(qint64 n) {
    return germanLocale().toString(n);
}

// Why a reader gave no image, by its error code: Qt's own texts are English where its
// translations are not installed, and for a damaged file say only "unknown error". Qt calls
// a folder, or a file it may not open, a file not found.
QString readingFailure(QImageReader::ImageReaderError error, const QFileInfo& file) {
    switch (error) {
    case QImageReader::FileNotFoundError:
    case QImageReader::DeviceError:
        if (file.isDir())
            return QStringLiteral("unter diesem Namen steht ein Ordner, keine Datei");
        if (file.exists())
            return QStringLiteral("die Datei lässt sich nicht öffnen");
        return QStringLiteral("die Datei ist nicht vorhanden");
    case QImageReader::UnsupportedFormatError:
        if (file.size() == 0)
            return QStringLiteral("die Datei ist leer");
        return QStringLiteral("die Datei ist in keinem Bildformat, das Pigmora lesen kann");
    case QImageReader::InvalidDataError:
    case QImageReader::UnknownError:
        break;
    }
    return QStringLiteral("die Datei ist beschädigt oder unvollständig");
}

} // namespace

FileStructure fileStructure(QByteArrayView b) {
    if (b.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", 8)))
        return pngStructure(b);
    if (b.size() >= 3 && quint8(b[0]) == 0xFF && quint8(b[1]) == 0xD8 && quint8(b[2]) == 0xFF)
        return jpegStructure(b);
    if (b.startsWith("GIF87a") || b.startsWith("GIF89a"))
        return gifStructure(b);
    return {};
}

ImageFileReading readImageFile(const QString& path, qint64 maxPixels) {
    ImageFileReading r;
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    const auto refuse = [&](const QString& why) {
        r.failure =
            QStringLiteral("Das Bild %1 kann nicht gelesen werden: %2. Es wurde nichts geändert.")
                .arg(shown, why);
        return r;
    };
    // The bytes are mapped, not copied: the walk to the file's end and the decoder read them in
    // place. A file that cannot be mapped (a pipe, a device) is read by the decoder alone.
    QFile file(path);
    const uchar* mapped = nullptr;
    if (info.isFile() && info.size() > 0 && file.open(QIODevice::ReadOnly))
        mapped = file.map(0, file.size());
    QByteArray bytes;
    QBuffer buffer;
    QImageReader reader;
    FileStructure structure;
    if (mapped) {
        bytes =
            QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), qsizetype(file.size()));
        structure = fileStructure(bytes);
        buffer.setBuffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
    } else {
        reader.setFileName(path);
    }
    reader.setAutoTransform(true);
    // The size is read from the header, before anything is decoded.
    const QSize size = reader.size();
    if (!size.isValid())
        return refuse(readingFailure(reader.error(), info));
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > maxPixels) {
        r.failure = QStringLiteral("Das Bild %1 ist mit %2 × %3 Pixeln zu groß; geöffnet werden "
                                   "Bilder bis %4 Millionen Pixel. Es wurde nichts geändert.")
                        .arg(shown, number(size.width()), number(size.height()),
                             number(maxPixels / 1'000'000));
        return r;
    }
    if (structure.end == FileEnd::Cut)
        return refuse(readingFailure(QImageReader::InvalidDataError, info));
    // Qt's own guard (256 MB) would refuse images below the limit that 32 bits a pixel make
    // larger; this one lets those through and still refuses a file whose header lied.
    reader.setAllocationLimit(int(maxPixels * 4 / (1024 * 1024)) + 1);
    QImage image = reader.read();
    if (image.isNull())
        return refuse(readingFailure(reader.error(), info));

    QColorSpace space = image.colorSpace();
    if (structure.png && !structure.embeddedProfile)
        space = QColorSpace(QColorSpace::SRgb); // gAMA and cHRM alone: sRGB values
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (structure.embeddedProfile && !space.isValid()) {
        r.profileNote = QStringLiteral("Farbprofil nicht lesbar, Werte ohne Umrechnung");
    } else if (space.isValid() && space != QColorSpace(QColorSpace::SRgb)) {
        image.setColorSpace(space);
        image.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
        const QString name = space.description().simplified();
        r.profileNote = QStringLiteral("Farbprofil: %1, nach sRGB umgerechnet")
                            .arg(name.isEmpty() ? QStringLiteral("ohne Namen") : name.left(60));
    }
    r.image = std::move(image);
    return r;
}

} // namespace pigmora
