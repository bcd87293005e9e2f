#pragma once

#include "app/dialogs.h"
#include "exchange/scheme_import.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace pigmora::test {

// Dialogs that answer from a script and remember what they were asked.
class ScriptedDialogs : public Dialogs {
public:
    struct Message {
        QString text;
        QString title;
        MessageStyle style;
    };
    struct Prompt {
        QString text;
        QString title;
        int maxLength;
    };

    QList<Message> messages;
    // Called with each message as it is shown, to see the window behind it.
    std::function<void(const Message&)> onMessage;
    QList<Prompt> prompts;
    // Answers for the text prompt, taken in turn; an empty text is what Cancel gives.
    QStringList promptAnswers;
    // The colour and the font each dialog was opened on.
    QList<QColor> colourRequests;
    QList<QFont> fontRequests;
    // Answers for the colour and font dialogs, taken in turn; empty (or none left) is Cancel.
    QList<std::optional<QColor>> colourAnswers;
    QList<std::optional<QFont>> fontAnswers;

    struct FileRequest {
        QString title;
        QStringList filters; // the open dialog's one filter text is the only element
    };
    QList<FileRequest> saveRequests;
    QList<FileRequest> openRequests;
    // Answers for the save and open dialogs, taken in turn; empty (or none left) is Cancel.
    QList<std::optional<SaveChoice>> saveAnswers;
    QStringList openAnswers;
    // What each import preview was shown, and the answers, taken in turn: true is
    // "Importieren"; none left is "Abbrechen".
    QList<ImportReading> importPreviews;
    QList<bool> importAnswers;

    void message(QWidget*, const QString& text, const QString& title, MessageStyle style) override {
        messages.append({text, title, style});
        if (onMessage)
            onMessage(messages.last());
    }
    QString prompt(QWidget*, const QString& text, const QString& title, int maxLength) override {
        prompts.append({text, title, maxLength});
        return promptAnswers.isEmpty() ? QString() : promptAnswers.takeFirst();
    }
    std::optional<QColor> chooseColour(QWidget*, const QColor& initial) override {
        colourRequests.append(initial);
        return colourAnswers.isEmpty() ? std::nullopt : colourAnswers.takeFirst();
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont& initial) override {
        fontRequests.append(initial);
        return fontAnswers.isEmpty() ? std::nullopt : fontAnswers.takeFirst();
    }
    std::optional<SaveChoice> chooseSaveFile(QWidget*, const QString& title,
                                             const QStringList& filters) override {
        saveRequests.append({title, filters});
        return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.takeFirst();
    }
    QString chooseOpenFile(QWidget*, const QString& title, const QString& filter) override {
        openRequests.append({title, {filter}});
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    bool confirmImport(QWidget*, const ImportReading& reading) override {
        importPreviews.append(reading);
        return !importAnswers.isEmpty() && importAnswers.takeFirst();
    }
};

} // namespace pigmora::test
