#pragma once

#include <QString>

namespace pigmora {

// Starts another program without waiting for it.
class Launcher {
public:
    virtual ~Launcher() = default;
    // `path` is the program itself, blanks and all; false when it could not be started (an
    // empty path never starts).
    virtual bool start(const QString& path) = 0;
};

// Starts the file at the path as the program, with no arguments: no shell, and no splitting of
// a path such as "C:\Program Files\...\MSINFO32.EXE" at its blanks.
class ProcessLauncher final : public Launcher {
public:
    bool start(const QString& path) override;
};

} // namespace pigmora
