#include "screen_picker.h"

#include "accessibility/accessible_shape.h"
#include "eyedropper/pixel_picking.h"
#include "picker_canvas.h"

#include <QCursor>
#include <QScreen>

namespace pigmora {

const QString pickerHint = QStringLiteral("Pfeiltasten: 1 Pixel · Umschalt+Pfeil: 10 · Eingabe "
                                          "oder Klick: übernehmen · Esc oder Rechtsklick: "
                                          "abbrechen");

frmPipette::frmPipette(const ScreenPicture& picture, Rgb other)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , canvas_(new PickerCanvas(picture, other, this)) {
    setObjectName(QStringLiteral("frmPipette"));
    setWindowTitle(QStringLiteral("Farbe vom Bildschirm"));
    setAccessibleName(windowTitle());
    setAccessibleRole(this, QAccessible::Window);
    setAccessibleDescription(pickerHint);
    setAttribute(Qt::WA_DeleteOnClose);
    if (picture.screen)
        setScreen(picture.screen);
    setGeometry(picture.geometry);
    connect(canvas_, &PickerCanvas::chosen, this, [this] {
        // What the magnifier shows, for a screen reader as well.
        setAccessibleDescription(canvas_->description());
    });
}

ScreenPicker::ScreenPicker(Rgb other, ScreenSource source, std::shared_ptr<PointerDevice> pointer,
                           QObject* parent)
    : QObject(parent)
    , other_(other)
    , source_(std::move(source))
    , pointer_(std::move(pointer))
    , hint_(pickerHint) {}

ScreenPicker::~ScreenPicker() {
    end();
}

bool ScreenPicker::start() {
    const QList<ScreenPicture> pictures = source_();
    if (pictures.isEmpty())
        return false;
    const std::optional<QPoint> native = pointer_ ? pointer_->position() : std::nullopt;
    const QPoint pointer = QCursor::pos();
    frmPipette* underPointer = nullptr;
    for (const ScreenPicture& picture : pictures) {
        auto* window = new frmPipette(picture, other_);
        window->canvas()->setPointer(pointer_.get(), true);
        window->canvas()->setHint(hint_);
        windows_.push_back(window);
        connect(window->canvas(), &PickerCanvas::picked, this, [this](Rgb colour) {
            end();
            emit picked(colour);
        });
        connect(window->canvas(), &PickerCanvas::pairPicked, this, [this](const PairFinding& p) {
            end();
            emit pairPicked(p);
        });
        connect(window->canvas(), &PickerCanvas::cancelled, this, [this] {
            end();
            emit cancelled();
        });
        const bool under =
            native ? showsNative(picture, *native) : picture.geometry.contains(pointer);
        if (!underPointer && under)
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
    PickerCanvas* canvas = underPointer->canvas();
    underPointer->activateWindow();
    canvas->setFocus();
    const ScreenPicture& picture = canvas->picture();
    canvas->choose(native ? devicePixelAtNative(picture, *native)
                          : devicePixelAt(picture, pointer));
    return true;
}

void ScreenPicker::end() {
    for (frmPipette* window : windows_)
        window->close(); // deletes it
    windows_.clear();
}

} // namespace pigmora
