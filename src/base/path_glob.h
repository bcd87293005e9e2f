#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// Globs over dotted paths ("fgColor.*", "color.**.fg"), as the import's pairing rules and the
// contrast grid's row and column patterns read them: a path is its names between dots; "*" is
// any characters of one name (a whole name, or a part of one: "bg*"), "**" standing as a name
// of its own is any number of names, none included; everything else stands for itself, case
// and all. Worked out without backtracking over the path: at most the pattern's length times
// the path's, whatever the pattern.
namespace pigmora {

// Whether `pattern` matches the whole `path`.
bool globMatches(const QString& pattern, const QString& path);

// When `pattern` matches the whole `path`: the names its wildcards took (each name "*" stood
// for and every name "**" spanned, in the path's order), joined by dots; the first match, "**"
// taking as few names as it can. Nothing when it does not match.
std::optional<QString> globCapture(const QString& pattern, const QString& path);

} // namespace pigmora
