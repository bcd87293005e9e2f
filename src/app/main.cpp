#include "app/application.h"
#include "app/main_window.h"

#include <QApplication>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    pigmora::setUpApplication(app);
    pigmora::frmHauptprogramm window;
    if (!window.loaded())
        return EXIT_FAILURE;
    window.show();
    return QApplication::exec();
}
