#include "file_reasons.h"

#include <cerrno>

namespace pigmora {

QString fileErrorReason(int errorNumber, QFileDevice::FileError kind) {
    switch (errorNumber) {
    case 0:
        break;
    case ENOENT:
        return QStringLiteral("Die Datei oder ein Ordner auf dem Weg zu ihr ist nicht vorhanden.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Dafür fehlt die Berechtigung.");
    case EISDIR:
        return QStringLiteral("Unter diesem Namen steht ein Ordner, keine Datei.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfads ist kein Ordner.");
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent auf dem Datenträger ist erschöpft.");
#endif
    case EFBIG:
        return QStringLiteral("Die Datei würde größer, als das System erlaubt.");
    case EROFS:
        return QStringLiteral("Das Dateisystem lässt nur Lesen zu.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Name ist zu lang.");
    case ENXIO:
        return QStringLiteral("Am anderen Ende liest niemand (eine benannte Pipe ohne Leser oder "
                              "ein Gerät, das nicht bereit ist).");
    case EPIPE:
        return QStringLiteral("Der Leser am anderen Ende hat aufgehört zu lesen.");
    case EIO:
        return QStringLiteral("Das Gerät meldet einen Ein-/Ausgabefehler.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien zugleich geöffnet.");
    default:
        return QStringLiteral("Das System meldet den Fehler Nummer %1.").arg(errorNumber);
    }
    switch (kind) {
    case QFileDevice::ReadError:
        return QStringLiteral("Beim Lesen trat ein Fehler auf.");
    case QFileDevice::WriteError:
        return QStringLiteral("Beim Schreiben trat ein Fehler auf.");
    case QFileDevice::OpenError:
        return QStringLiteral("Die Datei ließ sich nicht öffnen.");
    case QFileDevice::RenameError:
        return QStringLiteral("Die fertige Datei ließ sich nicht an ihren Platz umbenennen.");
    default:
        return QStringLiteral("Das System hat keinen Grund genannt.");
    }
}

} // namespace pigmora
