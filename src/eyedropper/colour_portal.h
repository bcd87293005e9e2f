#pragma once

#include "portal_answer.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace pigmora {

// Picks a colour from the screen through the desktop portal (org.freedesktop.portal.Screenshot,
// PickColor, on the session bus), as a Wayland desktop offers it. Everything is asynchronous:
// pick() returns at once, and `finished` comes once, later, from the event loop. The session bus
// is reached on the first pick, not before.
class ColourPortal : public QObject {
    Q_OBJECT
public:
    explicit ColourPortal(QObject* parent = nullptr);
    ~ColourPortal() override;

    // Starts a pick. While one is pending, starts nothing and returns false.
    bool pick(const QString& parentWindow = {});
    bool pending() const { return pending_; }

signals:
    void finished(const pigmora::PortalAnswer& answer);

private slots:
    // The Request object's Response(u, a{sv}); reached through QtDBus by name.
    void requestResponded(uint code, const QVariantMap& results);

private:
    void versionRead(QDBusPendingCallWatcher* call);
    void pickColorReplied(QDBusPendingCallWatcher* call);
    void listenTo(const QString& requestPath);
    void stopListening();
    void finish(const PortalAnswer& answer);

    QDBusConnection bus_;
    bool pending_ = false;
    QString parentWindow_;
    QString requestPath_;
    int requests_ = 0;
    QDBusServiceWatcher* vanished_ = nullptr;
};

} // namespace pigmora
