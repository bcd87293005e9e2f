// Benchmarks of the window's export, import and CSS paste commands, through the real main window
// (offscreen), on a file of 100,000 schemes (bench_exchange.cpp measures the formats alone):
//   - export as CSS, JSON and GIMP palette: reading every scheme, writing the file, renaming it
//   - import of 100,000 schemes from their JSON export: reading the file, one transaction, the
//     sorted list
//   - the real import preview with 100,000 schemes: opening it up to its first paint, and one
//     page down in its list
//   - CSS paste from the clipboard
// Prints a table and writes it to <results dir>/exchange-window-<platform>.md.
//
//   pigmora_bench_exchange_window <results dir> [runs]

#include "app/application.h"
#include "app/main_window.h"
#include "app/scheme_list.h"
#include "bench_support.h"
#include "exchange/scheme_import.h"
#include "import_window/import_preview.h"
#include "scripted_dialogs.h"
#include "text_clipboard.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace pigmora;

namespace {

constexpr int schemes = 100000;

void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// A scheme file of `schemes` records in a new directory.
std::unique_ptr<QTemporaryDir> filledDirectory(test::ScriptedDialogs& dialogs) {
    auto dir = std::make_unique<QTemporaryDir>();
    {
        frmHauptprogramm first(dir->path(), &dialogs); // makes the file
    }
    bench::fillSchemeFile(dir->filePath("Farben.mdb"), schemes, [](int i) { return i; });
    return dir;
}

QAction* action(const QWidget* window, const char* name) {
    return window->findChild<QAction*>(QString::fromUtf8(name));
}

void failOnMessage(const test::ScriptedDialogs& dialogs) {
    if (!dialogs.messages.isEmpty())
        qFatal("a command failed: %s", qPrintable(dialogs.messages.first().text));
}

struct Export {
    const char* name;
    const char* file;
    bench::Stats time;
    qint64 bytes = 0;
};

void exports(std::vector<Export>& formats, int runs) {
    test::ScriptedDialogs dialogs;
    const auto dir = filledDirectory(dialogs);
    frmHauptprogramm window(dir->path(), &dialogs);
    window.show();
    settle();
    for (Export& e : formats) {
        const QString path = dir->filePath(QString::fromUtf8(e.file));
        for (int i = 0; i < runs; ++i) {
            dialogs.saveAnswers = {Dialogs::SaveChoice{path, QString()}};
            e.time.add(bench::timeMs([&] { action(&window, "mnuExportieren")->trigger(); }));
        }
        e.bytes = QFileInfo(path).size();
    }
    failOnMessage(dialogs);
}

// Each run imports the JSON export of 100,000 schemes into a file of 100,000.
bench::Stats imports(int runs, qint64& fileBytes) {
    bench::Stats stats;
    test::ScriptedDialogs dialogs;
    const auto source = filledDirectory(dialogs);
    const QString file = source->filePath("export.json");
    {
        frmHauptprogramm window(source->path(), &dialogs);
        dialogs.saveAnswers = {Dialogs::SaveChoice{file, QString()}};
        action(&window, "mnuExportieren")->trigger();
    }
    fileBytes = QFileInfo(file).size();
    for (int i = 0; i < runs; ++i) {
        const auto dir = filledDirectory(dialogs);
        frmHauptprogramm window(dir->path(), &dialogs);
        window.show();
        settle();
        dialogs.openAnswers = {file};
        dialogs.importAnswers = {true};
        stats.add(bench::timeMs([&] {
            action(&window, "mnuImportieren")->trigger();
            settle();
        }));
        const int entries = window.findChild<SchemeList*>("cmbFarbe")->entryCount();
        if (entries != 2 * schemes) {
            failOnMessage(dialogs);
            qFatal("import added %d entries", entries - schemes);
        }
    }
    failOnMessage(dialogs);
    return stats;
}

std::pair<bench::Stats, bench::Stats> preview(int runs) {
    ImportReading reading;
    for (int i = 0; i < schemes; ++i)
        reading.schemes.push_back({QStringLiteral("Farbschema %1").arg(i),
                                   {ChannelValue(i), ChannelValue(i / 256), 0},
                                   {255, ChannelValue(i % 7), ChannelValue(i % 13)}});
    for (int i = 0; i < 1000; ++i)
        reading.refused.push_back({QStringLiteral("Eintrag %1").arg(i), QStringLiteral("?"),
                                   QStringLiteral("Der Name ist leer.")});
    bench::Stats open, page;
    for (int i = 0; i < runs; ++i) {
        std::unique_ptr<frmImport> dialog;
        open.add(bench::timeMs([&] {
            dialog = std::make_unique<frmImport>(reading);
            dialog->show();
            if (!QTest::qWaitForWindowExposed(dialog.get()))
                qFatal("the preview did not show");
            settle();
        }));
        auto* list = dialog->findChild<QTableView*>("lstSchemata");
        list->setFocus();
        for (int k = 0; k < 20; ++k)
            page.add(bench::timeMs([&] {
                QTest::keyClick(list, Qt::Key_PageDown);
                list->viewport()->repaint();
            }));
    }
    return {open, page};
}

bench::Stats paste(int runs) {
    test::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    frmHauptprogramm window(dir.path(), &dialogs);
    test::TextClipboard clipboard;
    window.setClipboard(&clipboard);
    window.show();
    settle();
    bench::Stats stats;
    for (int i = 0; i < runs; ++i) {
        clipboard.value = QStringLiteral("rgb(%1, %2, %3)").arg(i % 256).arg(i % 7).arg(i % 13);
        stats.add(bench::timeMs([&] {
            action(&window, "mnuCssEinfügen")->trigger();
            settle();
        }));
    }
    failOnMessage(dialogs);
    return stats;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    setUpApplication(app);
    const auto args = bench::arguments(app.arguments(), "runs", 5);
    if (!args)
        return 2;
    const int runs = args->count;
    QString table;
    QTextStream t(&table);
    t << "Export, import and CSS paste through the real window (Release, "
      << QGuiApplication::platformName() << "), " << schemes << " stored schemes, " << runs
      << " runs each, milliseconds\n\n"
      << "| command | median | min | max |\n|---|---:|---:|---:|\n";
    QStringList targets;
    const auto target = [&targets](const QString& what, double median, double limit) {
        targets << QStringLiteral("- %1 under %2 ms: %3 (%4 ms)")
                       .arg(what, QString::number(limit),
                            median < limit ? QStringLiteral("met") : QStringLiteral("MISSED"),
                            QString::number(median, 'f', median < 1 ? 3 : 1));
    };

    std::vector<Export> formats{{"export CSS", "farben.css", {}},
                                {"export JSON", "farben.json", {}},
                                {"export GIMP palette", "farben.gpl", {}}};
    exports(formats, runs);
    for (const Export& e : formats) {
        t << "| " << e.name << " (" << e.bytes / 1024 << " KiB) | " << e.time.row() << " |\n";
        target(QString::fromUtf8(e.name), e.time.median(), 1000);
    }
    qint64 importBytes = 0;
    const bench::Stats imported = imports(runs, importBytes);
    t << "| import " << schemes << " schemes from JSON (" << importBytes / 1024
      << " KiB, scripted preview) | " << imported.row() << " |\n";
    target(QStringLiteral("import of 100,000 schemes"), imported.median(), 2000);
    const auto [open, page] = preview(runs);
    t << "| preview with " << schemes << " schemes and 1000 refusals: open to first paint | "
      << open.row() << " |\n"
      << "| preview: one page down in the list, repainted | " << page.row(3) << " |\n";
    target(QStringLiteral("opening the preview"), open.median(), 100);
    target(QStringLiteral("a page down in the preview"), page.median(), 16);
    const bench::Stats pasted = paste(1000);
    t << "| CSS paste (1000 runs) | " << pasted.row(3) << " |\n";
    target(QStringLiteral("CSS paste"), pasted.median(), 1);

    t << "\nTargets (medians; set for these commands as a user would wait for them):\n"
      << targets.join('\n') << "\n\n"
      << bench::machine() << "\n";
    t.flush();
    std::printf("%s", qPrintable(table));
    bench::writeResult(args->results,
                       QStringLiteral("exchange-window-%1.md").arg(QGuiApplication::platformName()),
                       table);
    return 0;
}
