#include "image_picker.h"

#include "accessibility/accessible_shape.h"
#include "eyedropper/pixel_picking.h"
#include "picker_canvas.h"
#include "screen_picker.h"
#include "system_pointer.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace pigmora {

namespace {

// How far the chosen pixel stays from the edge of the view when the keys move it: room for the
// magnifier beside it.
constexpr int followMargin = 60;

} // namespace

frmBildPipette::frmBildPipette(QImage image, const QString& fileName, Rgb other, QWidget* owner,
                               const QString& profileNote, std::shared_ptr<PointerDevice> pointer)
    : QWidget(owner, Qt::Window)
    , pointer_(std::move(pointer))
    , scroll_(new QScrollArea(this))
    , value_(new QLabel(this))
    , hint_(new QLabel(pickerHint, this)) {
    setObjectName(QStringLiteral("frmBildPipette"));
    QString title = QStringLiteral("Farbe aus Bild – %1").arg(QFileInfo(fileName).fileName());
    if (!profileNote.isEmpty())
        title += QStringLiteral(" – ") + profileNote;
    setWindowTitle(title);
    setAccessibleName(QStringLiteral("Farbe aus Bild"));
    setAccessibleRole(this, QAccessible::Window);
    setAttribute(Qt::WA_DeleteOnClose);

    const QSize size = image.size();
    canvas_ = new PickerCanvas({std::move(image), QRect(QPoint(0, 0), size), 1, nullptr}, other);
    canvas_->setPointer(pointer_.get(), false);
    scroll_->setObjectName(QStringLiteral("scrPipette"));
    scroll_->setWidget(canvas_);
    scroll_->setAccessibleName(QStringLiteral("Bild"));
    value_->setObjectName(QStringLiteral("lblPipettenWert"));
    value_->setText(profileNote.isEmpty() ? QStringLiteral("Noch keine Farbe gewählt.")
                                          : profileNote);
    hint_->setObjectName(QStringLiteral("lblPipettenHinweis"));
    hint_->setWordWrap(true);
    auto* column = new QVBoxLayout(this);
    column->addWidget(scroll_, 1);
    column->addWidget(value_);
    column->addWidget(hint_);

    connect(canvas_, &PickerCanvas::chosen, this, [this] {
        value_->setText(canvas_->description());
        value_->setAccessibleName(QStringLiteral("Gewählte Farbe: ") + canvas_->description());
        setAccessibleDescription(canvas_->description());
        follow();
    });
    connect(canvas_, &PickerCanvas::picked, this, [this](Rgb colour) {
        finish();
        emit picked(colour);
    });
    connect(canvas_, &PickerCanvas::pairPicked, this, [this](const PairFinding& pair) {
        finish();
        emit pairPicked(pair);
    });
    connect(canvas_, &PickerCanvas::cancelled, this, [this] {
        finish();
        emit cancelled();
    });
    // Scrolled by the wheel or the bars, the magnifier stays with the pointer and in sight.
    for (QScrollBar* bar : {scroll_->horizontalScrollBar(), scroll_->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, canvas_, &PickerCanvas::viewMoved);

    // As large as the image, within what the screen leaves; the rest is scrolled.
    const QRect available =
        owner && owner->screen() ? owner->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize frame(2 * scroll_->frameWidth() + 24, 2 * scroll_->frameWidth() + 80);
    resize(size.boundedTo(available.size() * 9 / 10 - frame) + frame);
    canvas_->setFocus();
}

frmBildPipette::~frmBildPipette() = default;

void frmBildPipette::follow() {
    if (!canvas_->chosenByKeys())
        return;
    // The pixel's centre with room around it for the magnifier, in the canvas's coordinates.
    const QPointF centre = logicalCentreOf(canvas_->picture(), canvas_->pixel());
    const int margin = std::min(
        followMargin, std::min(scroll_->viewport()->width(), scroll_->viewport()->height()) / 3);
    scroll_->ensureVisible(int(centre.x()), int(centre.y()), margin, margin);
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
