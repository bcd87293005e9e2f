#pragma once

#include "base/colour_value.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QWidget;

namespace pigmora {

class ChannelEditor;
class ColourPortal;
class Dialogs;
class ScreenPicker;
class frmBildPipette;
struct PortalAnswer;

// "Farbe vom &Bildschirm..." and "Farbe aus B&ild...": pick one pixel's colour from the screen
// or from an image file and give it to the colour being edited, through the three channel
// setters as every colour change does. Cancelling or failing changes nothing.
class EyedropperCommands : public QObject {
    Q_OBJECT
public:
    EyedropperCommands(QWidget* owner, ChannelEditor& channels, Dialogs& dialogs);
    ~EyedropperCommands() override;

    // How a screen pixel is picked on a platform (QGuiApplication::platformName()) in a session
    // (the environment's XDG_SESSION_TYPE and WAYLAND_DISPLAY).
    enum class Way { Portal, OwnPicker, None };
    static Way wayFor(const QString& platformName, const QString& sessionType,
                      const QString& waylandDisplay);

    void mnuBildschirm_Click();
    void mnuBild_Click();

    // Images of more pixels are not opened.
    static constexpr qint64 maxImagePixels = 100'000'000;
    // The open dialog's filter: every format Qt's image plugins read here.
    static QString imageFilter();

private:
    Rgb otherColour() const;
    void pickWithOwnPicker();
    void pickWithPortal();
    void portalFinished(const PortalAnswer& answer);
    void apply(Rgb colour);
    void tell(const QString& text, const QString& title);

    QWidget* owner_;
    ChannelEditor& channels_;
    Dialogs& dialogs_;
    std::unique_ptr<ScreenPicker> screenPicker_;
    ColourPortal* portal_ = nullptr;
    QPointer<frmBildPipette> imagePicker_;
};

} // namespace pigmora
