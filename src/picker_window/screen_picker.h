#pragma once

#include "base/colour_value.h"
#include "eyedropper/pair_finder.h"
#include "screen_grab.h"
#include "system_pointer.h"

#include <QObject>
#include <QWidget>
#include <memory>
#include <vector>

namespace pigmora {

class PickerCanvas;

// What the screen picker says of its keys, on the screen and to a screen reader.
extern const QString pickerHint;

// One screen's frozen picture, frameless and full-screen over that screen.
class frmPipette : public QWidget {
    Q_OBJECT
public:
    frmPipette(const ScreenPicture& picture, Rgb other);
    PickerCanvas* canvas() const { return canvas_; }

private:
    PickerCanvas* canvas_;
};

// Picks a colour, or a pair of text and background by a dragged rectangle, from the screens:
// the pictures are taken once when it starts, and each is shown frozen on its screen. `picked`,
// `pairPicked` or `cancelled` comes once; then the windows are gone.
class ScreenPicker : public QObject {
    Q_OBJECT
public:
    // `other` is the colour of the pair the picked one is measured against; `pointer` the
    // window system's pointer (none: the mouse events' positions are taken).
    explicit ScreenPicker(Rgb other, ScreenSource source = grabScreens,
                          std::shared_ptr<PointerDevice> pointer = systemPointer(),
                          QObject* parent = nullptr);
    ~ScreenPicker() override;

    // The hint line shown on the screen under the pointer (pickerHint unless set otherwise).
    void setHint(const QString& hint) { hint_ = hint; }
    // Takes the pictures and shows the windows; false (and nothing shown) when there was no
    // picture to take.
    bool start();
    const std::vector<frmPipette*>& windows() const { return windows_; }

signals:
    void picked(pigmora::Rgb colour);
    void pairPicked(const pigmora::PairFinding& pair);
    void cancelled();

private:
    void end();

    Rgb other_;
    ScreenSource source_;
    std::shared_ptr<PointerDevice> pointer_;
    QString hint_;
    std::vector<frmPipette*> windows_;
};

} // namespace pigmora
