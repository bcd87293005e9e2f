// The floor of the start-up benchmark: the least a Qt Widgets program of this kind does before
// its window is up. One window with three sliders, six line edits and a label, nothing else (no
// translations, no icon, no scheme file). It reports its first paint and peak memory exactly as
// the program's start-up probe does, and quits.
//
//   pigmora_startup_floor [--window-fonts]
//
// With --window-fonts the line edits and the label use the fonts the program's window uses
// (Arial 12 and Times New Roman 9.75, or their Liberation stand-ins), for comparison: finding
// and loading fonts is a large part of any start.

#include "../probe_report.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool windowFonts = QApplication::arguments().contains(QStringLiteral("--window-fonts"));
    QFont sans = QApplication::font();
    QFont serif = QApplication::font();
    if (windowFonts) {
        sans.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
        sans.setPointSizeF(12);
        serif.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")});
        serif.setPointSizeF(9.75);
    }
    QWidget window;
    auto* grid = new QGridLayout(&window);
    for (int row = 0; row < 3; ++row) {
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setRange(0, 255);
        grid->addWidget(slider, row, 0);
        for (int column : {1, 2}) {
            auto* edit = new QLineEdit(QStringLiteral("0"));
            edit->setFont(sans);
            grid->addWidget(edit, row, column);
        }
    }
    auto* label = new QLabel(QStringLiteral("Beispieltext"));
    label->setFont(serif);
    grid->addWidget(label, 3, 0, 1, 3);
    pigmora::bench::reportFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
