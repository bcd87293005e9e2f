#pragma once

#include <QString>
#include <functional>

namespace pigmora {

// Where Farben.mdb lives: beside the executable, as long as it is there already or that
// directory may be written. An installed program (say under /usr/local/bin) may not write
// there, so then the scheme file goes to the user's own application data directory, which is
// created when needed.
QString
chooseSchemeDirectory(const QString& executableDirectory, const QString& perUserDirectory,
                      const std::function<bool(const QString&)>& isWritableDirectory = nullptr);

// The directory for this program as it runs.
QString defaultSchemeDirectory();
// The same directory for a tool installed beside the program, which only uses a file that is
// there already: nothing is created. The application name must be the program's ("Pigmora"),
// which names the per-user directory.
QString lookUpSchemeDirectory();

} // namespace pigmora
