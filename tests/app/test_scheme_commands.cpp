#include "scheme_db.h"
#include "window_driver.h"

#include "app/scheme_list.h"
#include "app/status_bar.h"

#include <QAction>
#include <QInputDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using namespace pigmora;
using test::byName;
using test::RawDb;

namespace {

// A stored scheme: name, then text colour and background as packed values. A channel of -1
// is stored as NULL.
struct Scheme {
    QVariant name;
    QList<int> channels; // Rot, Grün, Blau, Roth, Grünh, Blauh
};

QVariantList channelValues(const QList<int>& channels) {
    QVariantList values;
    for (int c : channels)
        values << (c < 0 ? QVariant() : QVariant(c));
    return values;
}

} // namespace

Q_DECLARE_METATYPE(Scheme)

class TestSchemeCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init() { window_.fresh(); }
    void cleanup() { window_.window.reset(); }

    void select_data();
    void select();
    void selectByKeyboard();
    void selectShowsTheBackgroundAsTarget();
    void storeNew_data();
    void storeNew();
    void storeKeepsAnyNameExactly_data();
    void storeKeepsAnyNameExactly();
    void storeWhileEditingTheTextColour();
    void failedStoreChangesNothing_data();
    void failedStoreChangesNothing();
    void deleteScheme_data();
    void deleteScheme();
    void deleteTheOnlyScheme();
    void failedDeleteKeepsTheEntry();
    void storeAfterDeletingTheLastRecordKeepsTheNewColours();
    void realPromptStoresAndKeysDelete();

private:
    // Starts the program on a file holding these records, in this stored order.
    void startWith(const QList<Scheme>& schemes);
    SchemeList* list() { return byName<SchemeList>(window_.get(), "cmbFarbe"); }
    QWidget* sample() { return byName(window_.get(), "lblTest"); }
    QStringList entries() {
        QStringList out;
        for (int i = 0; i < list()->entryCount(); ++i)
            out << list()->entryText(i);
        return out;
    }
    QStringList storedNames() {
        return RawDb(window_.schemeFile()).rows("SELECT Name FROM Farbtabelle ORDER BY rowid");
    }
    void pick(int index) { list()->setSelectedIndex(index); }
    // Paints both colours of the sample through the editor: background first, then text colour,
    // ending with the background as target.
    void compose(ColourValue text, ColourValue back);

    test::WindowUnderTest window_;
};

void TestSchemeCommands::startWith(const QList<Scheme>& schemes) {
    QVERIFY(window_.open());
    window_.window.reset();
    {
        RawDb db(window_.schemeFile());
        for (const Scheme& s : schemes)
            QCOMPARE(db.addScheme(s.name, channelValues(s.channels)), SQLITE_DONE);
    }
    QVERIFY(window_.open());
}

void TestSchemeCommands::compose(ColourValue text, ColourValue back) {
    const auto rgb = [](ColourValue v) {
        return std::tuple(int(v & 0xFF), int((v >> 8) & 0xFF), int(v >> 16));
    };
    byName<QAction>(window_.get(), "mnuVorder")->trigger();
    std::apply([this](int r, int g, int b) { test::typeColour(window_.get(), r, g, b); },
               rgb(text));
    byName<QAction>(window_.get(), "mnuHinter")->trigger();
    std::apply([this](int r, int g, int b) { test::typeColour(window_.get(), r, g, b); },
               rgb(back));
}

void TestSchemeCommands::select_data() {
    QTest::addColumn<QList<Scheme>>("stored");
    QTest::addColumn<int>("entry");
    QTest::addColumn<uint>("text");
    QTest::addColumn<uint>("back");
    const QList<int> meer{0, 0, 128, 200, 220, 255};
    QTest::newRow("one scheme") << QList<Scheme>{{"Meer", meer}} << 0 << 0x800000u << 0xFFDCC8u;
    QTest::newRow("the right one of several") << QList<Scheme>{{"Wald", {0, 100, 0, 1, 2, 3}},
                                                               {"Meer", meer},
                                                               {"Sand", {9, 9, 9, 9, 9, 9}}}
                                              << 0 << 0x800000u << 0xFFDCC8u;
    QTest::newRow("same name twice: the later record wins")
        << QList<Scheme>{{"Meer", {1, 1, 1, 2, 2, 2}}, {"Meer", meer}} << 0 << 0x800000u
        << 0xFFDCC8u;
    QTest::newRow("same name twice: either entry applies both in turn")
        << QList<Scheme>{{"Meer", {1, 1, 1, 2, 2, 2}}, {"Meer", meer}} << 1 << 0x800000u
        << 0xFFDCC8u;
    QTest::newRow("letter case differs: only the exact name")
        << QList<Scheme>{{"meer", {1, 1, 1, 2, 2, 2}}, {"Meer", meer}, {"MEER", {3, 3, 3, 4, 4, 4}}}
        << 1 << 0x800000u << 0xFFDCC8u;
    // A missing channel skips its setter: the channel keeps what the sliders held (the text
    // colour's red 0 carried into the background's red), and the following setters paint it.
    QTest::newRow("missing background red")
        << QList<Scheme>{{"Meer", {7, 0, 128, -1, 220, 255}}} << 0 << 0x800007u << 0xFFDC07u;
    QTest::newRow("missing text colour green")
        << QList<Scheme>{{"Meer", {7, -1, 128, 200, 220, 255}}} << 0 << 0x800007u << 0xFFDCC8u;
}

void TestSchemeCommands::select() {
    QFETCH(QList<Scheme>, stored);
    QFETCH(int, entry);
    QFETCH(uint, text);
    QFETCH(uint, back);
    startWith(stored);
    pick(entry);
    QCOMPARE(foreColour(sample()), text);
    QCOMPARE(backColour(sample()), back);
    // The channels show the background, which is the edit target.
    QCOMPARE(test::sliderColour(window_.get()), back);
    QCOMPARE(test::text(window_.get(), "txtBlauHex"), QString::number(back >> 16, 16).toUpper());
    QCOMPARE(window_->state().bytziel, 2);
    QVERIFY(window_.dialogs.messages.isEmpty());
}

void TestSchemeCommands::selectByKeyboard() {
    startWith({{"Abend", {1, 2, 3, 4, 5, 6}}, {"Morgen", {10, 20, 30, 40, 50, 60}}});
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Down);
    QCOMPARE(list()->selectedText(), "Abend");
    QCOMPARE(backColour(sample()), 0x060504u);
    QTest::keyClick(list(), Qt::Key_Down);
    QCOMPARE(backColour(sample()), 0x3C3228u);
    QCOMPARE(foreColour(sample()), 0x1E140Au);
}

void TestSchemeCommands::selectShowsTheBackgroundAsTarget() {
    startWith({{"Meer", {0, 0, 128, 200, 220, 255}}});
    byName<QAction>(window_.get(), "mnuVorder")->trigger();
    pick(0);
    QVERIFY(!byName<QAction>(window_.get(), "mnuVorder")->isChecked());
    QVERIFY(byName<QAction>(window_.get(), "mnuHinter")->isChecked());
    auto* bar = byName<PanelStatusBar>(window_.get(), "StatusBar1");
    QCOMPARE(bevelOf(bar->panel(1)), Bevel::Inset);
    // Typing now changes the background, as the indications say.
    test::typeColour(window_.get(), 1, 2, 3);
    QCOMPARE(backColour(sample()), 0x030201u);
    QCOMPARE(foreColour(sample()), 0x800000u);
}

void TestSchemeCommands::storeNew_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("storedAfter");
    QTest::addColumn<QStringList>("entriesAfter");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("cancel") << QStringList{"Wald"} << "" << QStringList{"Wald"}
                            << QStringList{"Wald"} << -1;
    QTest::newRow("new name in its sorted place")
        << QStringList{"Meer", "Abend"} << "Himmel" << QStringList{"Meer", "Abend", "Himmel"}
        << QStringList{"Abend", "Himmel", "Meer"} << 1;
    QTest::newRow("blanks alone are a name")
        << QStringList{"Wald"} << "   " << QStringList{"Wald", "   "} << QStringList{"   ", "Wald"}
        << 0;
    QTest::newRow("existing name: a second record and entry, the last one selected")
        << QStringList{"Wald", "Meer"} << "Wald" << QStringList{"Wald", "Meer", "Wald"}
        << QStringList{"Meer", "Wald", "Wald"} << 2;
    QTest::newRow("30 characters")
        << QStringList{} << QString(30, 'x') << QStringList{QString(30, 'x')}
        << QStringList{QString(30, 'x')} << 0;
}

void TestSchemeCommands::storeNew() {
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QList<Scheme> stored;
    for (const QString& name : before)
        stored.append({name, {50, 50, 50, 60, 60, 60}});
    startWith(stored);
    compose(0x0A0B0C, 0x102030);
    window_.dialogs.promptAnswers = {typed};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);

    QTRY_COMPARE(window_.dialogs.prompts.size(), 1); // an access key animates the click first
    QCOMPARE(window_.dialogs.prompts[0].text,
             "Bitte geben Sie eine Bezeichnung für das neue Farbschema ein!");
    QCOMPARE(window_.dialogs.prompts[0].title, "Neuer Eintrag");
    QCOMPARE(window_.dialogs.prompts[0].maxLength, 30);
    QVERIFY(window_.dialogs.messages.isEmpty());
    QTEST(storedNames(), "storedAfter");
    QTEST(entries(), "entriesAfter");
    QTEST(list()->selectedIndex(), "selectedAfter");
    // The sample keeps the composed colours: the new record holds exactly them, and selecting
    // it applied them again (also where an older record of the same name came first).
    QCOMPARE(foreColour(sample()), 0x0A0B0Cu);
    QCOMPARE(backColour(sample()), 0x102030u);
    QCOMPARE(test::sliderColour(window_.get()), 0x102030u);
    if (!typed.isEmpty())
        QCOMPARE(RawDb(window_.schemeFile())
                     .rows("SELECT Rot, \"Grün\", Blau, Roth, \"Grünh\", Blauh FROM Farbtabelle "
                           "ORDER BY rowid DESC LIMIT 1"),
                 QStringList{"12|11|10|48|32|16"});
}

void TestSchemeCommands::storeKeepsAnyNameExactly_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("quotes") << "O'Neil \"Blau\"";
    QTest::newRow("backslashes") << "C:\\Farben\\neu";
    QTest::newRow("percent signs") << "100% Rot %s %n";
    QTest::newRow("umlauts") << "Grün über Weiß";
    QTest::newRow("emoji") << "🌈 Regenbogen 🎨";
    QTest::newRow("right to left") << "ألوان البحر";
    QTest::newRow("statement text") << "x'); DROP TABLE Farbtabelle;--";
    QTest::newRow("surrounding blanks") << "  Abend  ";
}

void TestSchemeCommands::storeKeepsAnyNameExactly() {
    QFETCH(QString, name);
    startWith({{"Abend", {1, 1, 1, 1, 1, 1}}});
    compose(0x123456, 0x654321);
    window_.dialogs.promptAnswers = {name};
    window_->cmdNeueFarbe_Click();
    QVERIFY(window_.dialogs.messages.isEmpty());
    QCOMPARE(storedNames(), (QStringList{"Abend", name}));
    QCOMPARE(list()->selectedText(), name);

    // After a restart the name is listed and finds its record (and no other).
    window_.window.reset();
    QVERIFY(window_.open());
    QVERIFY(entries().contains(name));
    compose(0, 0);
    pick(int(entries().indexOf(name)));
    QCOMPARE(foreColour(sample()), 0x123456u);
    QCOMPARE(backColour(sample()), 0x654321u);
}

void TestSchemeCommands::storeWhileEditingTheTextColour() {
    startWith({});
    compose(0x112233, 0x445566);
    byName<QAction>(window_.get(), "mnuVorder")->trigger();
    window_.dialogs.promptAnswers = {"Paar"};
    window_->cmdNeueFarbe_Click();
    QCOMPARE(RawDb(window_.schemeFile())
                 .rows("SELECT Rot, \"Grün\", Blau, Roth, \"Grünh\", Blauh FROM Farbtabelle"),
             QStringList{"51|34|17|102|85|68"});
    QCOMPARE(window_->state().bytziel, 2);
    QVERIFY(byName<QAction>(window_.get(), "mnuHinter")->isChecked());
    QCOMPARE(test::sliderColour(window_.get()), 0x445566u);
}

void TestSchemeCommands::failedStoreChangesNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal"); // a trigger that makes the engine refuse the record
    QTest::addColumn<QString>("reason");
    QTest::newRow("31 characters") << QString(31, 'x') << ""
                                   << "höchstens 30 Zeichen";
    QTest::newRow("31 emoji") << QString("😀").repeated(31) << ""
                              << "höchstens 30 Zeichen";
    QTest::newRow("engine refuses")
        << "Nebel"
        << "CREATE TRIGGER voll BEFORE INSERT ON Farbtabelle BEGIN SELECT RAISE(ABORT, "
           "'database or disk is full'); END"
        << "database or disk is full";
}

void TestSchemeCommands::failedStoreChangesNothing() {
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    QFETCH(QString, reason);
    startWith({{"Wald", {1, 2, 3, 4, 5, 6}}});
    if (!refusal.isEmpty()) {
        window_.window.reset();
        QCOMPARE(RawDb(window_.schemeFile()).exec(refusal), SQLITE_DONE);
        QVERIFY(window_.open());
    }
    compose(0x0A0B0C, 0x102030);
    const QByteArray file = test::fileHash(window_.schemeFile());
    window_.dialogs.promptAnswers = {name};
    window_->cmdNeueFarbe_Click();

    QCOMPARE(window_.dialogs.messages.size(), 1);
    const auto& message = window_.dialogs.messages[0];
    QCOMPARE(message.title, "Pigmora");
    QVERIFY2(message.text.contains("wurde nicht gespeichert"), qPrintable(message.text));
    QVERIFY2(message.text.contains(reason), qPrintable(message.text));
    QCOMPARE(test::fileHash(window_.schemeFile()), file);
    QCOMPARE(entries(), QStringList{"Wald"});
    QCOMPARE(list()->selectedIndex(), -1);
    QCOMPARE(foreColour(sample()), 0x0A0B0Cu);
    QCOMPARE(backColour(sample()), 0x102030u);
    // The program goes on: the next scheme is stored.
    window_.dialogs.promptAnswers = {"Abend"};
    window_->cmdNeueFarbe_Click();
    QCOMPARE(entries().contains("Abend"), refusal.isEmpty());
}

void TestSchemeCommands::deleteScheme_data() {
    QTest::addColumn<QList<Scheme>>("stored");
    QTest::addColumn<int>("picked"); // -1: nothing picked
    QTest::addColumn<QStringList>("storedAfter");
    QTest::addColumn<QStringList>("entriesAfter");
    const QList<int> c{1, 1, 1, 1, 1, 1};
    QTest::newRow("nothing picked") << QList<Scheme>{{"Wald", c}, {"Meer", c}} << -1
                                    << QStringList{"Wald", "Meer"} << QStringList{"Meer", "Wald"};
    QTest::newRow("the picked one") << QList<Scheme>{{"Wald", c}, {"Meer", c}, {"Abend", c}} << 1
                                    << QStringList{"Wald", "Abend"} << QStringList{"Abend", "Wald"};
    QTest::newRow("name stored twice: only the first record and the picked entry")
        << QList<Scheme>{{"Meer", c}, {"Wald", c}, {"Meer", c}} << 1 << QStringList{"Wald", "Meer"}
        << QStringList{"Meer", "Wald"};
    QTest::newRow("letter case differs: only the exact name")
        << QList<Scheme>{{"MEER", c}, {"Meer", c}} << 1 << QStringList{"MEER"}
        << QStringList{"MEER"};
}

void TestSchemeCommands::deleteScheme() {
    QFETCH(QList<Scheme>, stored);
    QFETCH(int, picked);
    startWith(stored);
    if (picked >= 0)
        pick(picked);
    const ColourValue text = foreColour(sample());
    const ColourValue back = backColour(sample());
    QSignalSpy clicked(byName<QPushButton>(window_.get(), "cmdWeg"), &QPushButton::clicked);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(clicked.count(), 1);
    QVERIFY(window_.dialogs.messages.isEmpty());
    QVERIFY(window_.dialogs.prompts.isEmpty()); // no question asked
    QTEST(storedNames(), "storedAfter");
    QTEST(entries(), "entriesAfter");
    QCOMPARE(list()->selectedIndex(), -1);
    QCOMPARE(list()->currentText(), QString()); // the closed list shows nothing
    QCOMPARE(foreColour(sample()), text);
    QCOMPARE(backColour(sample()), back);
}

void TestSchemeCommands::deleteTheOnlyScheme() {
    startWith({{"Meer", {5, 5, 5, 6, 6, 6}}, {"Meer", {7, 7, 7, 8, 8, 8}}});
    pick(1);
    window_->cmdWeg_Click();
    // The remaining entry still applies the remaining record.
    compose(0, 0);
    pick(0);
    QCOMPARE(backColour(sample()), 0x080808u);
    window_->cmdWeg_Click();
    QCOMPARE(storedNames(), QStringList());
    QCOMPARE(entries(), QStringList());
    QCOMPARE(backColour(sample()), 0x080808u);
    QCOMPARE(foreColour(sample()), 0x070707u);
}

void TestSchemeCommands::failedDeleteKeepsTheEntry() {
    startWith({{"Wald", {1, 1, 1, 1, 1, 1}}});
    window_.window.reset();
    RawDb(window_.schemeFile())
        .exec("CREATE TRIGGER fest BEFORE DELETE ON Farbtabelle BEGIN SELECT "
              "RAISE(ABORT, 'attempt to write a readonly database'); END");
    QVERIFY(window_.open());
    pick(0);
    window_->cmdWeg_Click();
    QCOMPARE(window_.dialogs.messages.size(), 1);
    QVERIFY(window_.dialogs.messages[0].text.contains("wurde nicht gelöscht"));
    QVERIFY(window_.dialogs.messages[0].text.contains("readonly"));
    QCOMPARE(storedNames(), QStringList{"Wald"});
    QCOMPARE(entries(), QStringList{"Wald"});
}

void TestSchemeCommands::storeAfterDeletingTheLastRecordKeepsTheNewColours() {
    startWith({});
    compose(0x010101, 0x1E140A);
    window_.dialogs.promptAnswers = {"A"};
    window_->cmdNeueFarbe_Click();
    window_->cmdWeg_Click(); // the engine may give the next record the same row id
    compose(0x020202, 0x326496);
    window_.dialogs.promptAnswers = {"B"};
    window_->cmdNeueFarbe_Click();
    QCOMPARE(backColour(sample()), 0x326496u);
    QCOMPARE(foreColour(sample()), 0x020202u);
    QCOMPARE(test::sliderColour(window_.get()), 0x326496u);
    QCOMPARE(RawDb(window_.schemeFile())
                 .rows("SELECT Name, Rot, \"Grün\", Blau, Roth, \"Grünh\", Blauh FROM Farbtabelle"),
             QStringList{"B|2|2|2|150|100|50"});
}

void TestSchemeCommands::realPromptStoresAndKeysDelete() {
    // The real dialogs this time: the window makes its own.
    QVERIFY(window_.open());
    window_.window.reset();
    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path());
    QVERIFY(test::showActive(window_.get()));
    compose(0x000001, 0x000002);
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        auto* prompt = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QVERIFY(prompt);
        QCOMPARE(prompt->windowTitle(), "Neuer Eintrag");
        QCOMPARE(prompt->labelText(),
                 "Bitte geben Sie eine Bezeichnung für das neue Farbschema ein!");
        auto* edit = prompt->findChild<QLineEdit*>();
        // At most 30 characters, an emoji counting as one.
        edit->insert(QString("🌈").repeated(30));
        QCOMPARE(edit->text(), QString("🌈").repeated(30));
        edit->insert("x");
        QCOMPARE(edit->text(), QString("🌈").repeated(30));
        edit->clear();
        QTest::keyClicks(edit, "Morgenrot und noch viel mehr Text");
        QCOMPARE(edit->text(), "Morgenrot und noch viel mehr T"); // 30 characters at most
        QTest::keyClick(edit, Qt::Key_Return);
        answered = true;
    });
    byName<QPushButton>(window_.get(), "cmdNeueFarbe")->click();
    QVERIFY(answered);
    QCOMPARE(storedNames(), QStringList{"Morgenrot und noch viel mehr T"});
    QCOMPARE(list()->selectedIndex(), 0);
    QVERIFY(test::showActive(window_.get()));
    QTest::keyClick(window_.get(), Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(storedNames(), QStringList());
}

QTEST_MAIN(TestSchemeCommands)
#include "test_scheme_commands.moc"
