#pragma once

#include "base/colour_value.h"

#include <QString>

class QWidget;

namespace pigmora {

class Dialogs;

// The window's one dialog object for colours and fonts. It keeps its colour, its font values
// and its flags from one use to the next, shared by both dialogs; nothing else sets them.
class CommonDialog {
public:
    explicit CommonDialog(Dialogs& dialogs)
        : dialogs_(dialogs) {}

    // Report a cancelled dialog as a failure (Show... returns false); otherwise a cancelled
    // dialog returns true and leaves the values as they were.
    bool CancelError = false;
    // Colour dialog: 1 opens it on Color. Font dialog: 1 screen fonts, 2 printer fonts.
    int Flags = 0;
    ColourValue Color = 0;
    QString FontName; // empty: the platform's standard font
    double FontSize = 0;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;
    bool FontStrikethru = false;

    bool ShowColor(QWidget* owner);
    bool ShowFont(QWidget* owner);

private:
    Dialogs& dialogs_;
};

} // namespace pigmora
