#include "dialogs.h"

#include "import_window/import_preview.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QValidator>

namespace pigmora {

namespace {

// Accepts input of at most `limit` characters; a character outside the basic plane (an emoji)
// counts once, as the scheme file counts it.
class CharacterLimit : public QValidator {
public:
    CharacterLimit(int limit, QObject* parent)
        : QValidator(parent)
        , limit_(limit) {}
    State validate(QString& input, int&) const override {
        return input.toUcs4().size() <= limit_ ? Acceptable : Invalid;
    }

private:
    int limit_;
};

// The suffix a filter in Qt's form names first: "css" for "CSS (*.css)"; empty for none.
QString firstSuffix(const QString& filter) {
    const qsizetype start = filter.indexOf(QLatin1String("*."));
    if (start < 0)
        return {};
    qsizetype end = start + 2;
    while (end < filter.size() && filter[end] != QLatin1Char(' ') &&
           filter[end] != QLatin1Char(')'))
        ++end;
    return filter.mid(start + 2, end - start - 2);
}

} // namespace

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
        edit->setValidator(new CharacterLimit(maxLength, edit));
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

std::optional<Dialogs::SaveChoice> QtDialogs::chooseSaveFile(QWidget* owner, const QString& title,
                                                             const QStringList& filters) {
    QFileDialog dialog(owner, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    // A name typed without a suffix gets the chosen filter's, before the dialog asks whether an
    // existing file of that name is to be replaced.
    dialog.setDefaultSuffix(firstSuffix(filters.value(0)));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& filter) { dialog.setDefaultSuffix(firstSuffix(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return SaveChoice{dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
}

QString QtDialogs::chooseOpenFile(QWidget* owner, const QString& title, const QString& filter) {
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QStringList QtDialogs::chooseOpenFiles(QWidget* owner, const QString& title,
                                       const QString& filter) {
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

bool QtDialogs::confirmImport(QWidget* owner, const ImportReading& reading) {
    frmImport preview(reading, owner);
    return preview.exec() == QDialog::Accepted;
}

std::optional<std::vector<ColourScheme>>
Dialogs::choosePairs(QWidget* owner, const ImportReading& reading, const PairingStep&) {
    if (!confirmImport(owner, reading))
        return std::nullopt;
    return reading.schemes;
}

std::optional<std::vector<ColourScheme>>
QtDialogs::choosePairs(QWidget* owner, const ImportReading& reading, const PairingStep& step) {
    frmImport preview(reading, step, owner);
    if (preview.exec() != QDialog::Accepted)
        return std::nullopt;
    return preview.chosenSchemes();
}

} // namespace pigmora
