#include "screen_picker.h"

#include "accessibility/accessible_shape.h"
#include "eyedropper/pixel_picking.h"
#include "picker_canvas.h"

#include <QCursor>
#include <QScreen>

namespace pigmora {

frmPipette::frmPipette(const ScreenPicture& picture, Rgb other)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , canvas_(new PickerCanvas(picture, other, this)) {
    setObjectName(QStringLiteral("frmPipette"));
    setWindowTitle(QStringLiteral("Farbe vom Bildschirm"));
    setAccessibleName(windowTitle());
    setAccessibleRole(this, QAccessible::Window);
    setAccessibleDescription(QStringLiteral(
        "Pfeiltasten wählen das Pixel, Eingabe übernimmt die Farbe, Escape bricht ab."));
    setAttribute(Qt::WA_DeleteOnClose);
    if (picture.screen)
        setScreen(picture.screen);
    setGeometry(picture.geometry);
    connect(canvas_, &PickerCanvas::chosen, this, [this] {
        // What the magnifier shows, for a screen reader as well.
        setAccessibleDescription(canvas_->description());
    });
}

ScreenPicker::ScreenPicker(Rgb other, ScreenSource source, QObject* parent)
    : QObject(parent)
    , other_(other)
    , source_(std::move(source)) {}

ScreenPicker::~ScreenPicker() {
    end();
}

bool ScreenPicker::start() {
    const QList<ScreenPicture> pictures = source_();
    if (pictures.isEmpty())
        return false;
    const QPoint pointer = QCursor::pos();
    frmPipette* underPointer = nullptr;
    for (const ScreenPicture& picture : pictures) {
        auto* window = new frmPipette(picture, other_);
        windows_.push_back(window);
        connect(window->canvas(), &PickerCanvas::picked, this, [this](Rgb colour) {
            end();
            emit picked(colour);
        });
        connect(window->canvas(), &PickerCanvas::cancelled, this, [this] {
            end();
            emit cancelled();
        });
        if (!underPointer && picture.geometry.contains(pointer))
            underPointer = window;
    }
    if (!underPointer)
        underPointer = windows_.front();
    for (frmPipette* window : windows_) {
        // A picture handed in without its screen (by a test) keeps the place it names.
        if (window->screen() && window->canvas()->picture().screen)
            window->showFullScreen();
        else
            window->show();
    }
    // The keys go to the screen under the pointer, which magnifies from the start.
    underPointer->activateWindow();
    underPointer->canvas()->setFocus();
    const ScreenPicture& picture = underPointer->canvas()->picture();
    underPointer->canvas()->choose(devicePixelAt(picture, pointer));
    return true;
}

void ScreenPicker::end() {
    for (frmPipette* window : windows_)
        window->close(); // deletes it
    windows_.clear();
}

} // namespace pigmora
