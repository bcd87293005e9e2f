#pragma once

#include <QString>

class QWidget;

namespace pigmora {

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
};

// The real dialogs of Qt.
class QtDialogs : public Dialogs {
public:
    void message(QWidget* owner, const QString& text, const QString& title,
                 MessageStyle style) override;
    QString prompt(QWidget* owner, const QString& text, const QString& title,
                   int maxLength) override;
};

} // namespace pigmora
