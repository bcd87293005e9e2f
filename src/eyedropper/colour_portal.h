#pragma once

#include "portal_answer.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <chrono>

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

    // Starts a pick. While one is pending, starts nothing and returns false; but when the
    // desktop has shown nothing for `restartAfter` since the pending one began (our program
    // stayed the active one, so no picker came up), that one is closed
    // (org.freedesktop.portal.Request.Close) and a new one starts.
    bool pick(const QString& parentWindow = {});
    bool pending() const { return pending_; }
    void setRestartAfter(std::chrono::milliseconds wait) { restartAfter_ = wait; }

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
    void begin();
    void closeRequest();

    QDBusConnection bus_;
    bool pending_ = false;
    // The pending pick: when it began, whether the desktop showed anything since (our program
    // left the active state), which attempt it is (answers to an earlier one are dropped).
    QElapsedTimer pendingSince_;
    bool desktopShowed_ = false;
    int attempt_ = 0;
    bool watchingState_ = false;
    std::chrono::milliseconds restartAfter_{5000};
    QString parentWindow_;
    QString requestPath_;
    int requests_ = 0;
    QDBusServiceWatcher* vanished_ = nullptr;
};

} // namespace pigmora
