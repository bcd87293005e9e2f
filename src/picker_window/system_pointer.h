#pragma once

#include <QByteArray>
#include <QPoint>
#include <memory>
#include <optional>

namespace pigmora {

// The pointer as the window system has it, in native (device) pixels of the whole desktop:
// where it is, and moving it there. Positions Qt reports are logical, and a widget's mouse event
// at a fractional scale factor lies a rounded logical pixel away from the device pixel under the
// pointer; the native position names that pixel exactly.
class PointerDevice {
public:
    virtual ~PointerDevice() = default;
    virtual std::optional<QPoint> position() const = 0;
    virtual void moveTo(QPoint native) = 0;
};

// The X server's pointer where the program runs on X11 (xcb), else none.
std::shared_ptr<PointerDevice> systemPointer();

// On X11: the root window's property `name` (8-bit data, such as `_ICC_PROFILE`), empty where it
// is not set or the program does not run on X11.
QByteArray rootWindowProperty(const char* name);

// On X11: waits until the X server has carried out every request sent so far (and so made the
// expose events they cause).
void syncWindowSystem();

} // namespace pigmora
