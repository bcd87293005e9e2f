// A program session driven from the command line, for tests that need a real, separate process
// running the program's own code on a scheme file:
//
//   pigmora_session <dir> list                   prints the scheme list, one entry per line
//   pigmora_session <dir> select-all             picks every entry in turn and prints
//                                                "<entry>\t<text RRGGBB>\t<background RRGGBB>"
//   pigmora_session <dir> store-end <names>      stores each name through "&Neu", prints
//                                                "saved <name>" once it is stored, then ends
//                                                through "&Ende"
//   pigmora_session <dir> store-close <names>    the same, then closes the window
//   pigmora_session <dir> store-many <prefix> <count> [pause]
//                                                stores "<prefix>1" to "<prefix><count>" the
//                                                same way, with `pause` milliseconds of idle
//                                                event loop between two, then closes the window
//
// In place of <dir>, "--default" uses the directory the program itself would choose (beside
// the executable, or the per-user data directory when that one cannot be written).
//
// Exit code 3 means the window could not load its scheme file (its message goes to stderr),
// 4 that a scheme could not be stored.

#include "app/application.h"
#include "app/main_window.h"
#include "app/scheme_list.h"
#include "editor/text_forms.h"
#include "editor/widget_colours.h"
#include "scripted_dialogs.h"

#include <QApplication>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>
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

QString rgbText(ColourValue v) {
    return sixDigitColourText(HexZerlegen(colourValueText(v)));
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
    if (!window.loaded()) {
        for (const auto& message : dialogs.messages)
            std::fprintf(stderr, "%s\n", qPrintable(message.text));
        return 3;
    }
    QTextStream out(stdout);
    const QString action = args[1];
    auto* list = window.findChild<SchemeList*>(QStringLiteral("cmbFarbe"));
    if (action == QLatin1String("list") || action == QLatin1String("select-all")) {
        const bool select = action == QLatin1String("select-all");
        for (int i = 0; i < list->entryCount(); ++i) {
            out << list->entryText(i);
            if (select) {
                list->setSelectedIndex(i);
                const QWidget* sample = window.findChild<QWidget*>(QStringLiteral("lblTest"));
                out << '\t' << rgbText(foreColour(sample)) << '\t' << rgbText(backColour(sample));
            }
            out << '\n';
        }
        out.flush();
        window.close();
        return 0;
    }
    window.show();
    QStringList names = args.mid(2);
    int pauseMs = 0;
    if (action == QLatin1String("store-many")) {
        const QString prefix = args.value(2);
        const int count = args.value(3).toInt();
        pauseMs = args.value(4).toInt();
        names.clear();
        for (int i = 1; i <= count; ++i)
            names << prefix + QString::number(i);
    }
    for (const QString& name : names) {
        if (pauseMs > 0 && name != names.first()) {
            QEventLoop idle;
            QTimer::singleShot(pauseMs, &idle, &QEventLoop::quit);
            idle.exec();
        }
        store(window, dialogs, name);
        out << "saved " << name << '\n';
        out.flush();
    }
    if (action == QLatin1String("store-end"))
        window.mnuEnde_Click(); // does not return
    window.close();
    return 0;
}
