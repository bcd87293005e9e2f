#pragma once

#include "base/colour_value.h"

#include <QImage>
#include <QWidget>

class QLabel;
class QScrollArea;

namespace pigmora {

class PickerCanvas;

// The picker on an image file ("Farbe aus Bild"): the image at one image pixel a logical
// pixel, scrolled where it is larger than the window, with the magnifier beside the pointer and
// below it what the magnifier says. `picked` or `cancelled` comes once; closing the window
// cancels.
class frmBildPipette : public QWidget {
    Q_OBJECT
public:
    frmBildPipette(QImage image, const QString& fileName, Rgb other, QWidget* owner);

    PickerCanvas* canvas() const { return canvas_; }
    QScrollArea* scrollArea() const { return scroll_; }

signals:
    void picked(pigmora::Rgb colour);
    void cancelled();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void finish();

    PickerCanvas* canvas_;
    QScrollArea* scroll_;
    QLabel* value_;
    bool finished_ = false;
};

} // namespace pigmora
