#include "dialogs.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace pigmora {

void QtDialogs::message(QWidget* owner, const QString& text, const QString& title,
                        MessageStyle style) {
    QMessageBox box(style == MessageStyle::Information ? QMessageBox::Information
                                                       : QMessageBox::NoIcon,
                    title, text, QMessageBox::Ok, owner);
    box.exec();
}

QString QtDialogs::prompt(QWidget* owner, const QString& text, const QString& title,
                          int maxLength) {
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(text);
    dialog.setInputMode(QInputDialog::TextInput);
    // The dialog's line edit exists once the input mode is set.
    if (auto* edit = dialog.findChild<QLineEdit*>())
        edit->setMaxLength(maxLength);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

} // namespace pigmora
