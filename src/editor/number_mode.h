#pragma once

#include "editor_state.h"

class QAction;
class QWidget;

namespace pigmora {

// Decimal or hexadecimal number mode: the mode byte, the two menu check marks and the colours
// of the "Dez"/"Hex" column labels. The mode only decides the form of a copied colour.
class NumberMode {
public:
    NumberMode(EditorState& state, QAction* mnuDez, QAction* mnuHex, QWidget* lblDez,
               QWidget* lblHex);

    void mnuDez_Click();
    void mnuHex_Click();

private:
    EditorState& state_;
    QAction* mnuDez_;
    QAction* mnuHex_;
    QWidget* lblDez_;
    QWidget* lblHex_;
};

} // namespace pigmora
