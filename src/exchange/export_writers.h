#pragma once

#include "scheme_export.h"

// The writer of each export format (scheme_export.cpp picks one).
namespace pigmora {

QByteArray writeCss(const std::vector<ColourScheme>& schemes, const ExportStamp& stamp);
QByteArray writeJson(const std::vector<ColourScheme>& schemes);
QByteArray writeGpl(const std::vector<ColourScheme>& schemes, const ExportStamp& stamp);

// "Farbschemata, geschrieben von Pigmora 1.0.0 am 2026-12-07T15:30:00+01:00".
QString stampText(const ExportStamp& stamp);

} // namespace pigmora
