#pragma once

#include "base/colour_value.h"
#include "screen_grab.h"

#include <QObject>
#include <QWidget>
#include <vector>

namespace pigmora {

class PickerCanvas;

// One screen's frozen picture, frameless and full-screen over that screen.
class frmPipette : public QWidget {
    Q_OBJECT
public:
    frmPipette(const ScreenPicture& picture, Rgb other);
    PickerCanvas* canvas() const { return canvas_; }

private:
    PickerCanvas* canvas_;
};

// Picks a colour from the screens: the pictures are taken once when it starts, and each is
// shown frozen on its screen. `picked` or `cancelled` comes once; then the windows are gone.
class ScreenPicker : public QObject {
    Q_OBJECT
public:
    // `other` is the colour of the pair the picked one is measured against.
    explicit ScreenPicker(Rgb other, ScreenSource source = grabScreens, QObject* parent = nullptr);
    ~ScreenPicker() override;

    // Takes the pictures and shows the windows; false (and nothing shown) when there was no
    // picture to take.
    bool start();
    const std::vector<frmPipette*>& windows() const { return windows_; }

signals:
    void picked(pigmora::Rgb colour);
    void cancelled();

private:
    void end();

    Rgb other_;
    ScreenSource source_;
    std::vector<frmPipette*> windows_;
};

} // namespace pigmora
