#pragma once

#include "base/colour_value.h"
#include "eyedropper/pair_finder.h"

#include <QImage>
#include <QWidget>
#include <memory>

class QLabel;
class QScrollArea;

namespace pigmora {

class PickerCanvas;
class PointerDevice;

// The picker on an image file ("Farbe aus Bild"): the image at one image pixel a logical
// pixel, scrolled where it is larger than the window (and scrolled along as the keys move the
// pick), with the magnifier beside the pointer, below it what the magnifier says and the hint
// line. A click picks a colour, a dragged rectangle the pair of text and background in it.
// `picked`, `pairPicked` or `cancelled` comes once; closing the window cancels.
class frmBildPipette : public QWidget {
    Q_OBJECT
public:
    // `profileNote` says how the image's colours were converted ("Farbprofil: ..."), for the
    // title; `pointer` is the window system's pointer (none: the mouse events' positions).
    frmBildPipette(QImage image, const QString& fileName, Rgb other, QWidget* owner,
                   const QString& profileNote = {},
                   std::shared_ptr<PointerDevice> pointer = nullptr);
    ~frmBildPipette() override;

    PickerCanvas* canvas() const { return canvas_; }
    QScrollArea* scrollArea() const { return scroll_; }

signals:
    void picked(pigmora::Rgb colour);
    void pairPicked(const pigmora::PairFinding& pair);
    void cancelled();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void finish();
    void follow();

    std::shared_ptr<PointerDevice> pointer_;
    PickerCanvas* canvas_;
    QScrollArea* scroll_;
    QLabel* value_;
    QLabel* hint_;
    bool finished_ = false;
};

} // namespace pigmora
