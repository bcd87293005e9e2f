#include "dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGroupBox>
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

std::optional<QColor> QtDialogs::chooseColour(QWidget* owner, const QColor& initial) {
    QColorDialog dialog(initial, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

std::optional<QFont> QtDialogs::chooseFont(QWidget* owner, const QFont& initial) {
    QFontDialog dialog(initial, owner);
    // Qt's own font dialog has no option to leave out its effects section (strikeout and
    // underline); it is the group box holding check boxes, and it is hidden here.
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
        if (group->findChild<QCheckBox*>())
            group->hide();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

} // namespace pigmora
