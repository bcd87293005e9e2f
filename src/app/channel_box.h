#pragma once

#include <QLineEdit>
#include <cstdint>
#include <functional>

namespace pigmora {

// A line edit that shows each typed character to a handler before it is inserted. The handler
// gets the character's code by reference and cancels the character by setting it to 0; so a
// handler that lets only digits through also stops Ctrl+X, Ctrl+Z and the like. Keys that type
// no character (arrows, Delete, Home, End) go straight to the line edit.
class ChannelBox : public QLineEdit {
    Q_OBJECT
public:
    using KeyPressHandler = std::function<void(std::int16_t& keyAscii)>;

    explicit ChannelBox(QWidget* parent = nullptr);
    void setKeyPressHandler(KeyPressHandler handler) { keyPress_ = std::move(handler); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    KeyPressHandler keyPress_;
};

} // namespace pigmora
