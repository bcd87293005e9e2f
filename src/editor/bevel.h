#pragma once

class QFrame;

namespace pigmora {

// The edge of a status bar panel: flat, pressed in or raised. The numbers are the codes the
// program works with.
enum class Bevel { None = 0, Inset = 1, Raised = 2 };

void setBevel(QFrame* panel, Bevel bevel);
Bevel bevelOf(const QFrame* panel);

} // namespace pigmora
