#include "page_check.h"

#include "dialogs.h"
#include "editor/edit_target.h"
#include "page_audit_window/page_check_window.h"

namespace pigmora {

std::unique_ptr<frmSeitenpruefung> makePageCheck(QWidget* owner, EditTarget& target,
                                                 Dialogs& dialogs) {
    auto window = std::make_unique<frmSeitenpruefung>(
        owner,
        [&target](Rgb text, Rgb background) {
            target.setPair(text, background, EditTarget::PairEnd::Background);
        },
        [owner, &dialogs] {
            return dialogs.chooseOpenFile(
                owner, QStringLiteral("Seite prüfen"),
                QStringLiteral("HTML-Seiten (*.html *.htm);;Alle Dateien (*)"));
        });
    return window;
}

} // namespace pigmora
