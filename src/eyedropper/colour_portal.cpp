#include "colour_portal.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QTimer>

namespace pigmora {

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString objectPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString screenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The PickColor method came with version 2 of the interface.
constexpr uint pickColorVersion = 2;

// Where the portal puts the Request of a call with `token`: the caller's unique name without
// its colon, dots as underscores.
QString requestPathFor(const QString& uniqueName, const QString& token) {
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

bool noPortal(const QDBusError& error) {
    return error.type() == QDBusError::ServiceUnknown || error.type() == QDBusError::NoServer ||
           error.type() == QDBusError::Disconnected ||
           error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

// The service is there but has no such interface, method or property. GDBus services (the
// desktop portal among them) answer a property of an interface they do not export with
// InvalidArgs and the text "No such interface"; that text is only looked at, never shown.
bool unknownThere(const QDBusError& error) {
    switch (error.type()) {
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownProperty:
    case QDBusError::NotSupported:
        return true;
    case QDBusError::InvalidArgs:
        return error.message().contains(QLatin1String("no such interface"), Qt::CaseInsensitive) ||
               error.message().contains(QLatin1String("unknown interface"), Qt::CaseInsensitive);
    default:
        return false;
    }
}

// Why a call failed, in German, by the error's name: its message is the service's own text
// (English, and of any length). An error of no known name is named, shortened.
QString errorReason(const QDBusError& error) {
    const QString name = error.name();
    const auto portalError = [&name](const char* which) {
        return name == QLatin1String("org.freedesktop.portal.Error.") + QLatin1String(which);
    };
    if (unknownThere(error))
        return QStringLiteral("es kennt diese Schnittstelle nicht");
    switch (error.type()) {
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return QStringLiteral("es hat nicht rechtzeitig geantwortet");
    case QDBusError::AccessDenied:
        return QStringLiteral("es verweigert den Zugriff");
    case QDBusError::InvalidArgs:
    case QDBusError::InvalidSignature:
        return QStringLiteral("es hat die Anfrage nicht verstanden");
    case QDBusError::NoMemory:
    case QDBusError::LimitsExceeded:
        return QStringLiteral("ihm fehlt der Speicher");
    default:
        break;
    }
    if (portalError("NotAllowed"))
        return QStringLiteral("die Arbeitsfläche erlaubt es Pigmora nicht");
    if (portalError("InvalidArgument"))
        return QStringLiteral("es hat die Anfrage nicht verstanden");
    if (portalError("Cancelled"))
        return QStringLiteral("die Anfrage wurde abgebrochen");
    if (portalError("Failed") || error.type() == QDBusError::Failed)
        return QStringLiteral("es meldet einen Fehler ohne nähere Angabe");
    constexpr qsizetype shown = 60; // a name may have 255 characters
    return QStringLiteral("es meldet den Fehler „%1“")
        .arg(name.size() > shown ? name.left(shown - 1) + QChar(0x2026) : name);
}

// A pick that could not begin: no portal, a portal without picking, or another failure.
PortalAnswer startFailure(const QDBusError& error) {
    if (noPortal(error))
        return portalFailure(QStringLiteral("Auf dieser Arbeitsfläche läuft kein Desktop-Portal, "
                                            "das eine Farbe vom Bildschirm wählen könnte. Es "
                                            "wurde nichts geändert."));
    if (unknownThere(error))
        return portalFailure(QStringLiteral("Das Desktop-Portal dieser Arbeitsfläche bietet keine "
                                            "Bildschirmfotos und damit keine Farbwahl an (%1). "
                                            "Es wurde nichts geändert.")
                                 .arg(errorReason(error)));
    return portalFailure(QStringLiteral("Das Desktop-Portal konnte keine Farbwahl beginnen (%1). "
                                        "Es wurde nichts geändert.")
                             .arg(errorReason(error)));
}

} // namespace

ColourPortal::ColourPortal(QObject* parent)
    : QObject(parent)
    , bus_(QString()) {}

ColourPortal::~ColourPortal() {
    stopListening();
}

bool ColourPortal::pick(const QString& parentWindow) {
    if (pending_) {
        if (desktopShowed_ || pendingSince_.elapsed() < restartAfter_.count())
            return false;
        // Nothing came up on the desktop: the portal hangs. Its request is closed, a new one
        // begins.
        closeRequest();
        stopListening();
    }
    parentWindow_ = parentWindow;
    begin();
    return true;
}

void ColourPortal::begin() {
    pending_ = true;
    desktopShowed_ = false;
    pendingSince_.start();
    ++attempt_;
    if (qGuiApp && !watchingState_) {
        watchingState_ = true;
        // The desktop's picker takes the keyboard: our program is no longer the active one.
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (pending_ && state != Qt::ApplicationActive)
                        desktopShowed_ = true;
                });
    }
    if (!bus_.isConnected())
        bus_ = QDBusConnection::sessionBus();
    if (!bus_.isConnected()) {
        // Told from the event loop like every other outcome.
        QTimer::singleShot(0, this, [this] {
            finish(portalFailure(QStringLiteral("Es ist kein Sitzungsbus erreichbar, über den "
                                                "das Desktop-Portal eine Farbe wählen könnte. Es "
                                                "wurde nichts geändert.")));
        });
        return;
    }
    // The interface's version first: an older portal has no PickColor.
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, objectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << screenshotInterface << QStringLiteral("version");
    auto* call = new QDBusPendingCallWatcher(bus_.asyncCall(get), this);
    call->setProperty("attempt", attempt_);
    connect(call, &QDBusPendingCallWatcher::finished, this, &ColourPortal::versionRead);
}

void ColourPortal::closeRequest() {
    if (requestPath_.isEmpty())
        return;
    // Not waited for: a portal that hangs may never answer this either.
    bus_.asyncCall(QDBusMessage::createMethodCall(service, requestPath_, requestInterface,
                                                  QStringLiteral("Close")));
}

void ColourPortal::versionRead(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    if (!pending_ || call->property("attempt").toInt() != attempt_)
        return;
    const QDBusPendingReply<QDBusVariant> reply = *call;
    if (reply.isError()) {
        finish(startFailure(reply.error()));
        return;
    }
    const QVariant version = reply.value().variant();
    if (version.metaType() != QMetaType::fromType<uint>() || version.toUInt() < pickColorVersion) {
        finish(portalFailure(QStringLiteral("Das Desktop-Portal dieser Arbeitsfläche ist zu alt, "
                                            "um eine Farbe vom Bildschirm zu wählen "
                                            "(Schnittstelle in Version %1, nötig ist %2). Es "
                                            "wurde nichts geändert.")
                                 .arg(version.toString())
                                 .arg(pickColorVersion)));
        return;
    }

    // Listen to the Request before the call, so an answer that comes at once is not missed.
    const QString token = QStringLiteral("pigmora%1").arg(++requests_);
    listenTo(requestPathFor(bus_.baseService(), token));
    QDBusMessage pickColor = QDBusMessage::createMethodCall(
        service, objectPath, screenshotInterface, QStringLiteral("PickColor"));
    pickColor << parentWindow_ << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto* picking = new QDBusPendingCallWatcher(bus_.asyncCall(pickColor), this);
    picking->setProperty("request", requests_);
    picking->setProperty("attempt", attempt_);
    connect(picking, &QDBusPendingCallWatcher::finished, this, &ColourPortal::pickColorReplied);
}

void ColourPortal::pickColorReplied(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    // An answer that came before the reply has already ended this request.
    if (!pending_ || call->property("request").toInt() != requests_ ||
        call->property("attempt").toInt() != attempt_)
        return;
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (reply.isError()) {
        finish(startFailure(reply.error()));
        return;
    }
    // Portals older than the handle_token rule choose the path themselves.
    const QString path = reply.value().path();
    if (path != requestPath_) {
        stopListening();
        listenTo(path);
    }
}

void ColourPortal::listenTo(const QString& requestPath) {
    requestPath_ = requestPath;
    bus_.connect(service, requestPath_, requestInterface, QStringLiteral("Response"), this,
                 SLOT(requestResponded(uint, QVariantMap)));
    if (!vanished_) {
        vanished_ = new QDBusServiceWatcher(service, bus_,
                                            QDBusServiceWatcher::WatchForUnregistration, this);
        connect(vanished_, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
            if (pending_)
                finish(portalFailure(QStringLiteral("Das Desktop-Portal wurde beendet, bevor "
                                                    "es eine Farbe geliefert hat. Es wurde "
                                                    "nichts geändert.")));
        });
    }
}

void ColourPortal::stopListening() {
    if (requestPath_.isEmpty())
        return;
    bus_.disconnect(service, requestPath_, requestInterface, QStringLiteral("Response"), this,
                    SLOT(requestResponded(uint, QVariantMap)));
    requestPath_.clear();
}

void ColourPortal::requestResponded(uint code, const QVariantMap& results) {
    if (pending_)
        finish(answerFromResponse(code, results));
}

void ColourPortal::finish(const PortalAnswer& answer) {
    stopListening();
    pending_ = false;
    emit finished(answer);
}

} // namespace pigmora
