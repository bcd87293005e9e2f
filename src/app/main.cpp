#include "app/application.h"
#include "app/main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    pigmora::setUpApplication(app);
    pigmora::frmHauptprogramm window;
    window.show();
    return QApplication::exec();
}
