#pragma once

#include <memory>

class QWidget;

namespace pigmora {

class Dialogs;
class EditTarget;
class frmSeitenpruefung;

// "Extras › Seite prüfen...": the page check window, whose "Als Paar übernehmen" sets both
// colours of the sample as picking a scheme does, and whose "Datei..." is the open dialog.
std::unique_ptr<frmSeitenpruefung> makePageCheck(QWidget* owner, EditTarget& target,
                                                 Dialogs& dialogs);

} // namespace pigmora
