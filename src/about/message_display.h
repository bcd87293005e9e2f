#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace pigmora {

// Shows a modal message to the user: an OK button only, no icon.
using MessageDisplay =
    std::function<void(QWidget* owner, const QString& text, const QString& title)>;

// The real one: a QMessageBox.
void showMessageBox(QWidget* owner, const QString& text, const QString& title);

} // namespace pigmora
