#pragma once

// Helpers for tests that drive the real main window: find controls by object name, show the
// window as the active one, read colours as packed values.

#include "app/application.h"
#include "app/main_window.h"
#include "editor/widget_colours.h"
#include "scripted_dialogs.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace pigmora::test {

template <typename T = QWidget> T* byName(const QObject* root, const QString& name) {
    T* found = root->findChild<T*>(name);
    if (!found)
        qFatal("no control named %s", qPrintable(name));
    return found;
}

// The offscreen platform warns whenever a fixed-size window is shown or a window is raised; that
// says nothing about the program, so it is kept out of the test output.
inline QtMessageHandler& testMessageHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void dropPlatformNoise(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
    if (!message.contains(QLatin1String("does not support propagateSizeHints")) &&
        !message.contains(QLatin1String("does not support raise()")))
        testMessageHandler()(type, context, message);
}

inline void setUpOnce() {
    static bool done = false;
    if (!done) {
        testMessageHandler() = qInstallMessageHandler(dropPlatformNoise);
        setUpApplication(*qApp);
        done = true;
    }
}

// Shows the window and makes it the active window, so shortcuts and focus behave as for a user.
inline bool showActive(QWidget* window) {
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

// A main window on a scheme file in a temporary directory, with scripted dialogs.
struct WindowUnderTest {
    std::unique_ptr<QTemporaryDir> dir = std::make_unique<QTemporaryDir>();
    ScriptedDialogs dialogs;
    std::unique_ptr<frmHauptprogramm> window;

    // Closes the window and starts over in a new, empty directory.
    void fresh() {
        window.reset();
        dir = std::make_unique<QTemporaryDir>();
        dialogs = {};
    }
    // Makes the window (running its load handler) and shows it as the active window.
    bool open() {
        window = std::make_unique<frmHauptprogramm>(dir->path(), &dialogs);
        return window->loaded() && showActive(window.get());
    }
    QString schemeFile() const { return dir->filePath(QStringLiteral("Farben.mdb")); }
    frmHauptprogramm* operator->() const { return window.get(); }
    frmHauptprogramm* get() const { return window.get(); }
};

inline QString text(const QObject* root, const QString& name) {
    if (auto* edit = root->findChild<QLineEdit*>(name))
        return edit->text();
    return byName<QLabel>(root, name)->text();
}

// Types a colour into the three decimal boxes, as a user would: select the box, type the value.
inline void typeColour(const QWidget* window, int red, int green, int blue) {
    const std::pair<const char*, int> boxes[] = {
        {"txtRot", red}, {"txtGrün", green}, {"txtBlau", blue}};
    for (const auto& [name, value] : boxes) {
        auto* box = byName<QLineEdit>(window, QString::fromUtf8(name));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QString::number(value));
    }
}

// The channels the three sliders hold, as a packed colour value.
inline ColourValue sliderColour(const QWidget* window) {
    const auto value = [window](const char* name) {
        return ColourValue(byName<QAbstractSlider>(window, QString::fromUtf8(name))->value());
    };
    return value("sldRot") + 256 * value("sldGrün") + 65536 * value("sldBlau");
}

} // namespace pigmora::test
