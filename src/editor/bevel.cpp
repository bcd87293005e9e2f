#include "bevel.h"

#include <QFrame>

namespace pigmora {

void setBevel(QFrame* panel, Bevel bevel) {
    switch (bevel) {
    case Bevel::None:
        panel->setFrameStyle(QFrame::NoFrame);
        break;
    case Bevel::Inset:
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        break;
    case Bevel::Raised:
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        break;
    }
    panel->setLineWidth(1);
}

Bevel bevelOf(const QFrame* panel) {
    if (panel->frameShape() == QFrame::NoFrame)
        return Bevel::None;
    return panel->frameShadow() == QFrame::Raised ? Bevel::Raised : Bevel::Inset;
}

} // namespace pigmora
