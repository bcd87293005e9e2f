#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace pigmora {

// Images of more pixels are not opened.
inline constexpr qint64 maxImagePixels = 100'000'000;

// An image file as "Farbe aus Bild" opens it: whole, converted to sRGB, or not at all.
struct ImageFileReading {
    QImage image; // RGB32, or ARGB32 where the file has alpha; null when refused
    // How the colours were taken, for the window's title: "Farbprofil: Adobe RGB (1998), nach
    // sRGB umgerechnet"; empty for a file in sRGB or without a profile.
    QString profileNote;
    // Why the file was refused, as the user reads it; empty when it was opened.
    QString failure;
};

// Reads an image file. PNG, JPEG and GIF files are first walked through to their end (IEND, the
// end-of-image marker, the trailer), so a truncated one is refused instead of opened with filler
// where its pixels are missing. An embedded ICC profile other than sRGB converts the colours to
// sRGB; a PNG's gamma and chromaticity chunks without an ICC profile are taken as sRGB, as the
// tools that write them beside plain sRGB values mean them. A profile that cannot be read leaves
// the values as they are and says so.
ImageFileReading readImageFile(const QString& path, qint64 maxPixels = maxImagePixels);

// How a file's bytes end, for the formats whose end can be found without decoding.
enum class FileEnd {
    Whole,     // PNG, JPEG or GIF that reaches its end mark
    Cut,       // PNG, JPEG or GIF that stops before it, or whose structure breaks off
    NotJudged, // another format
};
struct FileStructure {
    FileEnd end = FileEnd::NotJudged;
    bool embeddedProfile = false; // PNG iCCP or JPEG APP2 ICC_PROFILE
    bool png = false;
};
FileStructure fileStructure(QByteArrayView bytes);

} // namespace pigmora
