#pragma once

#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

namespace pigmora {

// The client area of the About window: 5730 x 3555 twips.
inline constexpr int aboutClientWidth = 382;
inline constexpr int aboutClientHeight = 237;

// Every control of the About window, named as the tests address them.
struct AboutControls {
    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    // The two halves of the etched separator, Line1(0) the white and Line1(1) the grey one;
    // their object names are "Line1_0" and "Line1_1".
    std::array<QFrame*, 2> Line1{};
    QLabel* lblDisclaimer = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};

// Creates the controls as children of `client` with their geometry, fonts, colours and focus
// order. The title and version labels hold placeholders until the window fills them in.
AboutControls buildAboutLayout(QWidget* client);

} // namespace pigmora
