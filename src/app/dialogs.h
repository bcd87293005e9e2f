#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QWidget;

namespace pigmora {

struct ColourScheme;
struct ImportReading;
struct PairingStep;

// The platform's modal dialogs, behind one interface so tests can script them.
class Dialogs {
public:
    // The message box styles the program uses.
    enum class MessageStyle { OkOnly = 0, Information = 64 };

    virtual ~Dialogs() = default;

    virtual void message(QWidget* owner, const QString& text, const QString& title,
                         MessageStyle style) = 0;
    // The modal text prompt with OK and Cancel and an empty input field that takes at most
    // `maxLength` characters. Returns the typed text, or an empty text when cancelled.
    virtual QString prompt(QWidget* owner, const QString& text, const QString& title,
                           int maxLength) = 0;
    // The colour dialog, opened on `initial`. Empty when cancelled.
    virtual std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial) = 0;
    // The font dialog, opened on `initial`, without an effects section (strikeout, underline).
    // Empty when cancelled.
    virtual std::optional<QFont> chooseFont(QWidget* owner, const QFont& initial) = 0;

    // What the save dialog returned: the path and the filter chosen last.
    struct SaveChoice {
        QString path;
        QString filter; // one of the filters offered
    };
    // The save dialog, offering the filters in Qt's form ("CSS (*.css)"), the first one chosen.
    // Empty when cancelled.
    virtual std::optional<SaveChoice> chooseSaveFile(QWidget* owner, const QString& title,
                                                     const QStringList& filters) = 0;
    // The open dialog for one existing file; `filter` in Qt's form, several separated by ";;".
    // Empty when cancelled.
    virtual QString chooseOpenFile(QWidget* owner, const QString& title, const QString& filter) = 0;
    // The open dialog for one or more existing files; empty when cancelled. Unless a dialog
    // offers more, the one file chooseOpenFile gives.
    virtual QStringList chooseOpenFiles(QWidget* owner, const QString& title,
                                        const QString& filter) {
        const QString file = chooseOpenFile(owner, title, filter);
        return file.isEmpty() ? QStringList() : QStringList{file};
    }
    // Shows what an import would add and what it refused; true when the user chose
    // "Importieren".
    virtual bool confirmImport(QWidget* owner, const ImportReading& reading) = 0;
    // The preview of design tokens with its pairing step (import_window/import_preview.h): the
    // pairs checked on "Importieren", nothing when cancelled or sent to the contrast grid.
    // Unless a dialog offers more, confirmImport's preview, which adds all that was read.
    virtual std::optional<std::vector<ColourScheme>>
    choosePairs(QWidget* owner, const ImportReading& reading, const PairingStep& step);
};

// The real dialogs of Qt (the platform's own colour and font dialogs where Qt has them).
class QtDialogs : public Dialogs {
public:
    void message(QWidget* owner, const QString& text, const QString& title,
                 MessageStyle style) override;
    QString prompt(QWidget* owner, const QString& text, const QString& title,
                   int maxLength) override;
    std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial) override;
    std::optional<QFont> chooseFont(QWidget* owner, const QFont& initial) override;
    std::optional<SaveChoice> chooseSaveFile(QWidget* owner, const QString& title,
                                             const QStringList& filters) override;
    QString chooseOpenFile(QWidget* owner, const QString& title, const QString& filter) override;
    QStringList chooseOpenFiles(QWidget* owner, const QString& title,
                                const QString& filter) override;
    bool confirmImport(QWidget* owner, const ImportReading& reading) override;
    std::optional<std::vector<ColourScheme>>
    choosePairs(QWidget* owner, const ImportReading& reading, const PairingStep& step) override;
};

} // namespace pigmora
