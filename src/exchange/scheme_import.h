#pragma once

#include "schemes/colour_scheme.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Schemes read in from files other programs (or an export) wrote.
namespace pigmora {

// Larger files are refused before anything is read into a list. Every export of the most
// schemes an import takes fits: a design-token export of 100,000 schemes of 30 characters
// outside the Latin alphabet is about 50 MB, a palette of them about 30 MB.
inline constexpr qint64 maxImportBytes = 64 * 1024 * 1024;
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
    // Design tokens only: the tokens and groups that are no part of a scheme, left alone.
    qint64 otherTokens = 0;
    qint64 otherGroups = 0;
    // Colours of `schemes` that lay outside sRGB and were gamut-mapped into it.
    int approximated = 0;
    // Design tokens: the full paths of each scheme's text and background token, in the order
    // of `schemes`; how the pairs were found ("Geschwister „text“ und „background“: 3 Paare");
    // what does not conform and was read anyway; and, for a reading that found nothing, what
    // came close (tokens without "$type", "Text" in another case ...).
    std::vector<std::pair<QString, QString>> paths;
    bool designTokens = false; // read from design-token files
    QStringList conventions;
    QStringList notes;
    QStringList nearMisses;
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
// Design tokens in the format of the W3C Design Tokens Community Group (2025.10): every group,
// at any depth, holding colour tokens "text" and "background" is a scheme, named by
// $extensions."org.pigmora".name or else by the group's own name. Aliases are resolved within
// the file; other tokens and groups are counted and left alone.
ImportReading readTokenSchemes(const QByteArray& contents, const QString& fileName = {});
// One of the three. A file name ending in ".gpl" or contents starting with "GIMP Palette" or a
// line of three numbers are read as a palette; one ending in ".tokens.json", ".tokens" or
// ".json5" as design tokens; anything else as JSON, which turns to design tokens when it is an
// object without "format" that has "$" names in it or members "value" (the older format).
ImportReading readSchemeImport(const QByteArray& contents, const QString& fileName = {});
// Reads a file of at most maxImportBytes into `contents`; why not, in German ("Sie ist nicht
// vorhanden."), when it cannot.
std::optional<QString> readImportFile(const QString& path, QByteArray& contents);
// "Die Datei <path> kann nicht importiert werden:\n<reason>".
QString importFileError(const QString& path, const QString& reason);
// Reads the file (a larger one than maxImportBytes is refused unread) and then its contents.
ImportReading readSchemeImportFile(const QString& path);

} // namespace pigmora
