#include "system_pointer.h"

#ifdef PIGMORA_WITH_XCB

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace pigmora {

namespace {

xcb_connection_t* connection() {
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootOf(xcb_connection_t* c) {
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

class X11Pointer : public PointerDevice {
public:
    explicit X11Pointer(xcb_connection_t* c)
        : c_(c)
        , root_(rootOf(c)) {}

    std::optional<QPoint> position() const override {
        xcb_query_pointer_reply_t* reply =
            xcb_query_pointer_reply(c_, xcb_query_pointer(c_, root_), nullptr);
        if (!reply)
            return std::nullopt;
        const QPoint at(reply->root_x, reply->root_y);
        const bool onThisScreen = reply->same_screen;
        std::free(reply);
        if (!onThisScreen)
            return std::nullopt;
        return at;
    }

    void moveTo(QPoint native) override {
        xcb_warp_pointer(c_, XCB_NONE, root_, 0, 0, 0, 0, qint16(native.x()), qint16(native.y()));
        xcb_flush(c_);
    }

private:
    xcb_connection_t* c_;
    xcb_window_t root_;
};

} // namespace

std::shared_ptr<PointerDevice> systemPointer() {
    if (xcb_connection_t* c = connection())
        return std::make_shared<X11Pointer>(c);
    return nullptr;
}

QByteArray rootWindowProperty(const char* name) {
    xcb_connection_t* c = connection();
    if (!c)
        return {};
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(std::strlen(name)), name), nullptr);
    if (!atom)
        return {};
    const xcb_atom_t property = atom->atom;
    std::free(atom);
    if (property == XCB_ATOM_NONE)
        return {};
    // A profile is a few kilobytes; 16 MB is more than any.
    constexpr uint32_t longs = 4 * 1024 * 1024;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, rootOf(c), property, XCB_GET_PROPERTY_TYPE_ANY, 0, longs),
        nullptr);
    if (!reply)
        return {};
    QByteArray bytes;
    if (reply->format == 8)
        bytes = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    std::free(reply);
    return bytes;
}

void syncWindowSystem() {
    if (xcb_connection_t* c = connection())
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace pigmora

#else // no X11 here: no native pointer, no root window

namespace pigmora {

std::shared_ptr<PointerDevice> systemPointer() {
    return nullptr;
}

QByteArray rootWindowProperty(const char*) {
    return {};
}

void syncWindowSystem() {}

} // namespace pigmora

#endif
