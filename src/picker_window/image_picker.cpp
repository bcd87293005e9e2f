#include "image_picker.h"

#include "accessibility/accessible_shape.h"
#include "picker_canvas.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace pigmora {

frmBildPipette::frmBildPipette(QImage image, const QString& fileName, Rgb other, QWidget* owner)
    : QWidget(owner, Qt::Window)
    , scroll_(new QScrollArea(this))
    , value_(new QLabel(this)) {
    setObjectName(QStringLiteral("frmBildPipette"));
    setWindowTitle(QStringLiteral("Farbe aus Bild – %1").arg(QFileInfo(fileName).fileName()));
    setAccessibleName(QStringLiteral("Farbe aus Bild"));
    setAccessibleRole(this, QAccessible::Window);
    setAttribute(Qt::WA_DeleteOnClose);

    const QSize size = image.size();
    canvas_ = new PickerCanvas({std::move(image), QRect(QPoint(0, 0), size), 1, nullptr}, other);
    scroll_->setObjectName(QStringLiteral("scrPipette"));
    scroll_->setWidget(canvas_);
    scroll_->setAccessibleName(QStringLiteral("Bild"));
    value_->setObjectName(QStringLiteral("lblPipettenWert"));
    value_->setText(QStringLiteral("Ein Klick oder die Eingabetaste übernimmt die Farbe, ein "
                                   "Rechtsklick oder Escape bricht ab."));
    auto* column = new QVBoxLayout(this);
    column->addWidget(scroll_, 1);
    column->addWidget(value_);

    connect(canvas_, &PickerCanvas::chosen, this, [this] {
        value_->setText(canvas_->description());
        value_->setAccessibleName(QStringLiteral("Gewählte Farbe: ") + canvas_->description());
        setAccessibleDescription(canvas_->description());
    });
    connect(canvas_, &PickerCanvas::picked, this, [this](Rgb colour) {
        finish();
        emit picked(colour);
    });
    connect(canvas_, &PickerCanvas::cancelled, this, [this] {
        finish();
        emit cancelled();
    });

    // As large as the image, within what the screen leaves; the rest is scrolled.
    const QRect available =
        owner && owner->screen() ? owner->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize frame(2 * scroll_->frameWidth() + 24, 2 * scroll_->frameWidth() + 60);
    resize(size.boundedTo(available.size() * 9 / 10 - frame) + frame);
    canvas_->setFocus();
}

void frmBildPipette::finish() {
    finished_ = true;
    close();
}

void frmBildPipette::closeEvent(QCloseEvent* event) {
    if (!finished_) {
        finished_ = true;
        emit cancelled();
    }
    event->accept();
}

} // namespace pigmora
