#include "common_dialog.h"

#include "dialogs.h"
#include "editor/widget_colours.h"

#include <QApplication>

namespace pigmora {

bool CommonDialog::ShowColor(QWidget* owner) {
    // Without flag 1 the dialog opens on black rather than on the object's colour.
    const QColor initial = (Flags & 1) ? toQColor(Color) : QColor(Qt::black);
    const auto chosen = dialogs_.chooseColour(owner, initial);
    if (!chosen)
        return !CancelError;
    Color = fromQColor(*chosen);
    return true;
}

// Qt's font dialog lists the fonts it can draw with; there is no separate list of printer
// fonts, so the flags choose nothing here.
bool CommonDialog::ShowFont(QWidget* owner) {
    QFont initial = QApplication::font();
    if (!FontName.isEmpty())
        initial.setFamilies({FontName});
    if (FontSize > 0)
        initial.setPointSizeF(FontSize);
    initial.setBold(FontBold);
    initial.setItalic(FontItalic);
    initial.setUnderline(FontUnderline);
    initial.setStrikeOut(FontStrikethru);
    const auto chosen = dialogs_.chooseFont(owner, initial);
    if (!chosen)
        return !CancelError;
    FontName = chosen->family();
    FontSize = chosen->pointSizeF();
    FontBold = chosen->bold();
    FontItalic = chosen->italic();
    FontUnderline = chosen->underline();
    FontStrikethru = chosen->strikeOut();
    return true;
}

} // namespace pigmora
