#pragma once

#include "app/dialogs.h"

#include <QList>
#include <QStringList>

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
    QList<Prompt> prompts;
    // Answers for the text prompt, taken in turn; an empty text is what Cancel gives.
    QStringList promptAnswers;

    void message(QWidget*, const QString& text, const QString& title, MessageStyle style) override {
        messages.append({text, title, style});
    }
    QString prompt(QWidget*, const QString& text, const QString& title, int maxLength) override {
        prompts.append({text, title, maxLength});
        return promptAnswers.isEmpty() ? QString() : promptAnswers.takeFirst();
    }
};

} // namespace pigmora::test
