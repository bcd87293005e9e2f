#include "message_display.h"

#include <QMessageBox>

namespace pigmora {

void showMessageBox(QWidget* owner, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner);
    box.exec();
}

} // namespace pigmora
