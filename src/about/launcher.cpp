#include "launcher.h"

#include <QProcess>

namespace pigmora {

bool ProcessLauncher::start(const QString& path) {
    return !path.isEmpty() && QProcess::startDetached(path, {});
}

} // namespace pigmora
