// The program's own start-up (main.cpp), on the scheme file of the directory given as the only
// argument, reporting when the main window has been painted for the first time:
//   shown_ns=<CLOCK_MONOTONIC nanoseconds> vmhwm_kb=<peak resident memory>
// Then it quits. The benchmark driver starts it and subtracts its own start time.

#include "app/application.h"
#include "app/main_window.h"
#include "probe_report.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    pigmora::setUpApplication(app);
    pigmora::frmHauptprogramm window(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    if (!window.loaded())
        return 1;
    pigmora::bench::reportFirstPaint(&window);
    window.show();
    return QApplication::exec();
}
