#pragma once

#include "schemes/colour_scheme.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// Schemes read in from files other programs (or an export) wrote.
namespace pigmora {

// Larger files are refused before anything is read into a list.
inline constexpr qint64 maxImportBytes = 10 * 1024 * 1024;
inline constexpr int maxImportSchemes = 100000;

// An entry of the file that is not taken, and why.
struct RefusedEntry {
    QString where;  // "Eintrag 3" (JSON, counted from 1) or "Zeile 12" (palette)
    QString what;   // the entry as read, shortened when long: its name or the line
    QString reason; // German
};

struct ImportReading {
    std::vector<ColourScheme> schemes; // to be added, in the file's order
    std::vector<RefusedEntry> refused;
    // Colours of `schemes` that lay outside sRGB and were gamut-mapped into it.
    int approximated = 0;
    // Why the file as a whole cannot be read (too large, not JSON, no palette header, too many
    // schemes ...), in German; then `schemes` and `refused` are empty.
    QString error;
};

// Why "&Neu" would not take `name`, in German; empty when it would: at least one and at most
// 30 characters (an emoji counts once), no control characters, no broken UTF-16.
std::optional<QString> nameRefusal(const QString& name);

// The JSON format of the export, or a bare array of its scheme objects. A colour is an opaque
// CSS colour as a text ("#rrggbb", "oklch(70% 0.1 250)", "red" ...) or an array of three whole
// numbers from 0 to 255.
ImportReading readJsonSchemes(const QByteArray& contents);
// A GIMP palette whose lines pair up as "<name> (Text)" and "<name> (Hintergrund)".
ImportReading readGplSchemes(const QByteArray& contents);
// Either of the two, told apart by the contents: a palette starts with "GIMP Palette".
ImportReading readSchemeImport(const QByteArray& contents);
// Reads the file (a larger one than maxImportBytes is refused unread) and then its contents.
ImportReading readSchemeImportFile(const QString& path);

} // namespace pigmora
