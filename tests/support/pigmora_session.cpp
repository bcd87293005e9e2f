// A program session driven from the command line, for tests that need a real, separate process
// running the program's own code on a scheme file:
//
//   pigmora_session <dir> list                 prints the scheme list, one entry per line
//
// In place of <dir>, "--default" uses the directory the program itself would choose (beside
// the executable, or the per-user data directory when that one cannot be written).
//   pigmora_session <dir> store-end <names>    stores each name through "&Neu", prints "saved
//   <name>" once it is
//                                              stored, then ends through "&Ende"
//   pigmora_session <dir> store-close <names>  the same, then closes the window
//
// Exit code 3 means the window could not load its scheme file.

#include "app/application.h"
#include "app/main_window.h"
#include "schemes/scheme_list.h"
#include "scripted_dialogs.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>

using namespace pigmora;

namespace {

// Stores through "&Neu", answering its prompt with the name.
void store(frmHauptprogramm& window, test::ScriptedDialogs& dialogs, const QString& name) {
    dialogs.promptAnswers = {name};
    window.cmdNeueFarbe_Click();
    if (!dialogs.messages.isEmpty()) {
        std::fprintf(stderr, "not saved: %s\n", qPrintable(dialogs.messages.first().text));
        std::exit(4);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    setUpApplication(app);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return 2;
    test::ScriptedDialogs dialogs;
    const QString dir = args[0] == QLatin1String("--default") ? defaultSchemeDirectory() : args[0];
    frmHauptprogramm window(dir, &dialogs);
    if (!window.loaded())
        return 3;
    QTextStream out(stdout);
    const QString action = args[1];
    if (action == QLatin1String("list")) {
        const auto* list = window.findChild<SchemeList*>(QStringLiteral("cmbFarbe"));
        for (int i = 0; i < list->entryCount(); ++i)
            out << list->entryText(i) << '\n';
        out.flush();
        window.close();
        return 0;
    }
    window.show();
    for (const QString& name : args.mid(2)) {
        store(window, dialogs, name);
        out << "saved " << name << '\n';
        out.flush();
    }
    if (action == QLatin1String("store-end"))
        window.mnuEnde_Click(); // does not return
    window.close();
    return 0;
}
