#pragma once

#include <QRect>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pigmora {

class ChannelBox;
class ChannelSlider;
class ClickLabel;
class PanelStatusBar;
class SchemeList;

// Layout positions are given in twips; 15 twips make one pixel at 96 dots per inch.
constexpr int twipsToPixels(int twips) {
    return twips / 15;
}
constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

// The client area of the main window: 7935 x 4980 twips.
inline constexpr QRect clientArea = twipsRect(0, 0, 7935, 4980);

struct ChannelRow {
    QLabel* label = nullptr;
    ChannelSlider* slider = nullptr;
    ChannelBox* decimalBox = nullptr;
    QLineEdit* hexBox = nullptr;
};

// Every control of the main window's client area, each named as the other code and the tests
// address it (see the object names set in buildWindowLayout).
struct WindowControls {
    std::array<ChannelRow, 3> rows; // red, green, blue
    ClickLabel* lblDez = nullptr;
    ClickLabel* lblHex = nullptr;
    QLabel* lblVorschau = nullptr;
    ClickLabel* lblTest = nullptr;
    QPushButton* cmdNeueFarbe = nullptr;
    QPushButton* cmdWeg = nullptr;
    SchemeList* cmbFarbe = nullptr;
    PanelStatusBar* StatusBar1 = nullptr;
};

// Creates the controls as children of `client`, with their geometry, texts, fonts, colours and
// tab order.
WindowControls buildWindowLayout(QWidget* client);

// The word "Text" 60 times, separated by single blanks.
QString sampleText();

} // namespace pigmora
