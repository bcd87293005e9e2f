#include "number_mode.h"

#include "widget_colours.h"

#include <QAction>

namespace pigmora {

namespace {
constexpr ColourValue black = 0x000000;
constexpr ColourValue grey = 0x808080;
} // namespace

NumberMode::NumberMode(EditorState& state, QAction* mnuDez, QAction* mnuHex, QWidget* lblDez,
                       QWidget* lblHex)
    : state_(state)
    , mnuDez_(mnuDez)
    , mnuHex_(mnuHex)
    , lblDez_(lblDez)
    , lblHex_(lblHex) {}

void NumberMode::mnuDez_Click() {
    state_.bytmodus = 1;
    mnuHex_->setChecked(false);
    mnuDez_->setChecked(true);
    setForeColour(lblDez_, black);
    setForeColour(lblHex_, grey);
}

void NumberMode::mnuHex_Click() {
    state_.bytmodus = 2;
    mnuHex_->setChecked(true);
    mnuDez_->setChecked(false);
    setForeColour(lblDez_, grey);
    setForeColour(lblHex_, black);
}

} // namespace pigmora
