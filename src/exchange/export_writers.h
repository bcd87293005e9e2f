#pragma once

#include "scheme_export.h"

#include <QStringList>
#include <functional>

// The writer of each export format (scheme_export.cpp picks one).
namespace pigmora {

QByteArray writeCss(const std::vector<ColourScheme>& schemes, const ExportStamp& stamp);
QByteArray writeJson(const std::vector<ColourScheme>& schemes);
QByteArray writeGpl(const std::vector<ColourScheme>& schemes, const ExportStamp& stamp);
QByteArray writeTokens(const std::vector<ColourScheme>& schemes);

// The name `nameOf` makes of each scheme's name, in stored order; a name already given gets
// "-2", "-3" ..., so the names are distinct, compared as collisionKey() gives them.
QStringList distinctNames(const std::vector<ColourScheme>& schemes,
                          const std::function<QString(const QString&)>& nameOf);

// A name as the kebab-case transform of token tools makes it, in small letters: "Abend Rot",
// "abendRot" and "ABEND_ROT" are all "abend-rot".
QString collisionKey(const QString& name);

// A colour as the Color module's sRGB value: components c / 255 with four decimals (enough to
// give back each 8-bit channel) and the hex fallback.
QByteArray tokenColourValue(Rgb c);
void appendTokenColourValue(QByteArray& out, Rgb c);

// A text as a JSON string, in UTF-8: quotes, backslashes and control characters escaped.
QByteArray jsonString(const QString& text);

// "Farbschemata, geschrieben von Pigmora 1.0.0 am 2026-12-07T15:30:00+01:00".
QString stampText(const ExportStamp& stamp);

} // namespace pigmora
