// The floor of the start-up benchmark: the least a Qt Widgets program of this kind does before
// its window is up. One window with three sliders, six line edits and a label, nothing else (no
// translations, no icon, no scheme file). It reports its first paint and peak memory exactly as
// the program's start-up probe does, and quits.

#include "../probe_report.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    auto* grid = new QGridLayout(&window);
    for (int row = 0; row < 3; ++row) {
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setRange(0, 255);
        grid->addWidget(slider, row, 0);
        grid->addWidget(new QLineEdit(QStringLiteral("0")), row, 1);
        grid->addWidget(new QLineEdit(QStringLiteral("0")), row, 2);
    }
    grid->addWidget(new QLabel(QStringLiteral("Beispieltext")), 3, 0, 1, 3);
    pigmora::bench::reportFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
