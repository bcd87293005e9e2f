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
class EditTarget;
class ScreenPicker;
class frmBildPipette;
struct PairFinding;
struct PortalAnswer;

// "Farbe vom &Bildschirm...", "Farbe aus B&ild..." and "&Paar vom Bildschirm...": pick one
// pixel's colour from the screen or from an image file and give it to the colour being edited,
// through the three channel setters as every colour change does; or, by a rectangle dragged over
// a text in either picker, its text colour and background, set through EditTarget::setPair.
// Cancelling or failing changes nothing.
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
    void mnuPaar_Click();
    // Where a picked pair goes: both colours of the sample, the edit target as it was.
    void setPairTarget(EditTarget& target) { pairTarget_ = &target; }

    // Images of more pixels are not opened.
    static constexpr qint64 maxImagePixels = 100'000'000;
    // The open dialog's filter: every format Qt's image plugins read here.
    static QString imageFilter();

private:
    Rgb otherColour() const;
    void pickWithOwnPicker(bool forPair);
    void startOwnPicker(bool forPair);
    void pickWithPortal();
    void portalFinished(const PortalAnswer& answer);
    void apply(Rgb colour);
    void applyPair(const PairFinding& pair, const QString& title);
    void tell(const QString& text, const QString& title);

    QWidget* owner_;
    ChannelEditor& channels_;
    Dialogs& dialogs_;
    EditTarget* pairTarget_ = nullptr;
    std::unique_ptr<ScreenPicker> screenPicker_;
    // Waiting for our menu to leave the screen before it is taken.
    bool settling_ = false;
    // The window the pick was started from, which gets the focus back.
    QPointer<QWidget> startedFrom_;
    ColourPortal* portal_ = nullptr;
    QPointer<frmBildPipette> imagePicker_;
};

} // namespace pigmora
