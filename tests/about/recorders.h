#pragma once

// Stand-ins for starting a program and for the message box, which record what was asked.

#include "about/launcher.h"
#include "about/message_display.h"

#include <QList>
#include <QStringList>

namespace pigmora::test {

class RecordingLauncher final : public Launcher {
public:
    explicit RecordingLauncher(bool fails = false)
        : fails_(fails) {}
    QStringList started; // every attempt, also the failed ones
    bool start(const QString& path) override {
        started << path;
        return !fails_ && !path.isEmpty();
    }

private:
    bool fails_;
};

struct ShownMessage {
    QWidget* owner;
    QString text;
    QString title;
};

struct MessageRecorder {
    QList<ShownMessage> shown;
    MessageDisplay display() {
        return [this](QWidget* owner, const QString& text, const QString& title) {
            shown.append({owner, text, title});
        };
    }
};

} // namespace pigmora::test
