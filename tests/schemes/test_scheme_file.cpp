#include "scheme_db.h"
#include "window_driver.h"

#include "app/scheme_list.h"
#include "schemes/scheme_location.h"

#include <QDir>
#include <QRandomGenerator>

using namespace pigmora;
using test::byName;
using test::RawDb;

class TestSchemeFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init() { window_.fresh(); }
    void cleanup() { window_.window.reset(); }

    void firstStartCreatesTheEmptyTable();
    void engineKeepsTheTypeLimits_data();
    void engineKeepsTheTypeLimits();
    void laterStartListsEveryNamedRecord_data();
    void laterStartListsEveryNamedRecord();
    void unusableFileStopsTheStart_data();
    void unusableFileStopsTheStart();
    void readOnlyFileStillOpens();
    void closingTheWindowClosesTheFile();
    void endLeavesTheFileOpenAndEndsAtOnce();
    void location_data();
    void location();

private:
    QStringList listEntries() {
        auto* list = byName<SchemeList>(window_.get(), "cmbFarbe");
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries << list->entryText(i);
        return entries;
    }
    // Makes the file through a first start of the program and closes it again.
    void firstStart() {
        QVERIFY(window_.open());
        window_->close();
        window_.window.reset();
    }

    test::WindowUnderTest window_;
};

void TestSchemeFile::firstStartCreatesTheEmptyTable() {
    QVERIFY(!QFile::exists(window_.schemeFile()));
    QVERIFY(window_.open());
    QVERIFY(window_.dialogs.messages.isEmpty());
    QVERIFY(listEntries().isEmpty());
    QCOMPARE(window_->state().bytmodus, 1);
    QCOMPARE(window_->state().bytziel, 2);
    // Nothing but the scheme file is left in the directory.
    QCOMPARE(QDir(window_.dir->path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
             QStringList{"Farben.mdb"});

    RawDb db(window_.schemeFile());
    // cid|name|type|notnull|default|pk
    const QStringList columns{"0|Name|TEXT|0|NULL|0",    "1|Rot|INTEGER|0|NULL|0",
                              "2|Grün|INTEGER|0|NULL|0", "3|Blau|INTEGER|0|NULL|0",
                              "4|Roth|INTEGER|0|NULL|0", "5|Grünh|INTEGER|0|NULL|0",
                              "6|Blauh|INTEGER|0|NULL|0"};
    QCOMPARE(db.rows("PRAGMA table_info(Farbtabelle)"), columns);
    QCOMPARE(db.rows("PRAGMA index_list(Farbtabelle)"), QStringList());
    QCOMPARE(db.rows("SELECT count(*) FROM Farbtabelle"), QStringList{"0"});
    QCOMPARE(db.rows("SELECT name FROM sqlite_master"), QStringList{"Farbtabelle"});
}

void TestSchemeFile::engineKeepsTheTypeLimits_data() {
    QTest::addColumn<QVariant>("name");
    QTest::addColumn<QVariant>("channel");
    QTest::addColumn<bool>("accepted");
    const QVariant null;
    QTest::newRow("30 characters") << QVariant(QString(30, 'x')) << QVariant(1) << true;
    QTest::newRow("31 characters") << QVariant(QString(31, 'x')) << QVariant(1) << false;
    QTest::newRow("30 umlauts") << QVariant(QString(30, QChar(0xFC))) << QVariant(1) << true;
    QTest::newRow("30 emoji") << QVariant(QString("😀").repeated(30)) << QVariant(1) << true;
    QTest::newRow("no name") << null << QVariant(1) << true;
    QTest::newRow("no channel") << QVariant("a") << null << true;
    QTest::newRow("0") << QVariant("a") << QVariant(0) << true;
    QTest::newRow("255") << QVariant("a") << QVariant(255) << true;
    QTest::newRow("256") << QVariant("a") << QVariant(256) << false;
    QTest::newRow("-1") << QVariant("a") << QVariant(-1) << false;
    QTest::newRow("fraction") << QVariant("a") << QVariant(12.5) << false;
    QTest::newRow("text") << QVariant("a") << QVariant("abc") << false;
}

void TestSchemeFile::engineKeepsTheTypeLimits() {
    QFETCH(QVariant, name);
    QFETCH(QVariant, channel);
    QFETCH(bool, accepted);
    firstStart();
    RawDb db(window_.schemeFile());
    for (int column = 0; column < 6; ++column) {
        QVariantList channels(6, QVariant(7));
        channels[column] = channel;
        QCOMPARE(db.addScheme(name, channels) == SQLITE_DONE, accepted);
    }
}

void TestSchemeFile::laterStartListsEveryNamedRecord_data() {
    QTest::addColumn<QVariantList>("stored");
    QTest::addColumn<QStringList>("listed");
    const QVariant null;
    QTest::newRow("sorted whatever the stored order")
        << QVariantList{"gamma", "beta", "Alpha", "delta"}
        << QStringList{"Alpha", "beta", "delta", "gamma"};
    QTest::newRow("reverse stored order") << QVariantList{"delta", "Alpha", "beta", "gamma"}
                                          << QStringList{"Alpha", "beta", "delta", "gamma"};
    QTest::newRow("duplicates are separate entries")
        << QVariantList{"Rot", "Blau", "Rot", "Rot"} << QStringList{"Blau", "Rot", "Rot", "Rot"};
    QTest::newRow("letter case only: stored order")
        << QVariantList{"meer", "Meer", "MEER"} << QStringList{"meer", "Meer", "MEER"};
    QTest::newRow("records without a name are left out")
        << QVariantList{null, "b", null, "a", null} << QStringList{"a", "b"};
    QTest::newRow("only unnamed records") << QVariantList{null, null} << QStringList();
    QTest::newRow("umlauts sort with their letters")
        << QVariantList{"Zitrone", "Äpfel", "Apfel", "Öl"}
        << QStringList{"Apfel", "Äpfel", "Öl", "Zitrone"};
    QTest::newRow("blank name and empty name") << QVariantList{" ", ""} << QStringList{"", " "};
}

void TestSchemeFile::laterStartListsEveryNamedRecord() {
    QFETCH(QVariantList, stored);
    firstStart();
    {
        RawDb db(window_.schemeFile());
        for (const QVariant& name : stored)
            QCOMPARE(db.addScheme(name, QVariantList(6, QVariant(1))), SQLITE_DONE);
    }
    const QByteArray before = test::fileHash(window_.schemeFile());
    QVERIFY(window_.open());
    QVERIFY(window_.dialogs.messages.isEmpty());
    QTEST(listEntries(), "listed");
    QCOMPARE(byName<SchemeList>(window_.get(), "cmbFarbe")->currentIndex(), -1);
    QCOMPARE(test::fileHash(window_.schemeFile()), before); // opening writes nothing
}

void TestSchemeFile::unusableFileStopsTheStart_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("random bytes") << "random"
                                  << "file is not a database";
    QTest::newRow("text file") << "text"
                               << "file is not a database";
    QTest::newRow("old format") << "jet"
                                << "älteren Datenbankformat";
    QTest::newRow("truncated database") << "truncated"
                                        << "Fehler";
    QTest::newRow("database without the table") << "notable"
                                                << "no such table: Farbtabelle";
    QTest::newRow("table without a column") << "nocolumn"
                                            << "no such column: Blauh";
    QTest::newRow("a view of that name") << "view"
                                         << "no such table: Farbtabelle";
    QTest::newRow("a folder of that name") << "folder"
                                           << "unable to open database file";
}

void TestSchemeFile::unusableFileStopsTheStart() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString path = window_.schemeFile();
    const auto write = [&](const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    if (kind == "random") {
        QByteArray bytes(4096, '\0');
        QRandomGenerator gen(42);
        for (char& c : bytes)
            c = char(gen.bounded(256));
        write(bytes);
    } else if (kind == "text") {
        write("Name;Rot;Grün;Blau\nMeer;0;0;255\n");
    } else if (kind == "jet") {
        QByteArray header("\x00\x01\x00\x00Standard Jet DB\x00", 20);
        header.append(2028, '\0');
        write(header);
    } else if (kind == "truncated") {
        firstStart();
        {
            RawDb db(path);
            db.exec("BEGIN");
            for (int i = 0; i < 2000; ++i)
                db.addScheme(QString("Schema %1").arg(i), QVariantList(6, QVariant(i % 256)));
            db.exec("COMMIT");
        }
        QFile f(path);
        QVERIFY(f.resize(f.size() / 2));
    } else if (kind == "notable") {
        RawDb(path).exec("CREATE TABLE Andere (x)");
    } else if (kind == "nocolumn") {
        RawDb(path).exec("CREATE TABLE Farbtabelle (Name TEXT, Rot INTEGER, \"Grün\" INTEGER, "
                         "Blau INTEGER, Roth INTEGER, \"Grünh\" INTEGER)");
    } else if (kind == "view") {
        RawDb(path).exec("CREATE VIEW Farbtabelle AS SELECT 1 AS Name");
    } else if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    }
    const QByteArray before = test::fileHash(path);
    const QStringList filesBefore = QDir(window_.dir->path()).entryList(QDir::AllEntries);

    window_.window = std::make_unique<frmHauptprogramm>(window_.dir->path(), &window_.dialogs);
    QVERIFY(!window_->loaded());
    QCOMPARE(window_.dialogs.messages.size(), 1);
    const auto& message = window_.dialogs.messages.first();
    QCOMPARE(message.title, "Pigmora");
    QCOMPARE(message.style, Dialogs::MessageStyle::OkOnly);
    QVERIFY2(message.text.startsWith("Die Farbdatei kann nicht geöffnet werden"),
             qPrintable(message.text));
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(path)), qPrintable(message.text));
    QVERIFY2(message.text.contains(reason), qPrintable(message.text));
    // Nothing changed, nothing was added.
    QCOMPARE(test::fileHash(path), before);
    QCOMPARE(QDir(window_.dir->path()).entryList(QDir::AllEntries), filesBefore);
}

void TestSchemeFile::readOnlyFileStillOpens() {
    firstStart();
    RawDb(window_.schemeFile()).addScheme("Wald", QVariantList(6, QVariant(9)));
    QFile::setPermissions(window_.schemeFile(), QFile::ReadOwner | QFile::ReadGroup);
    QVERIFY(window_.open());
    QCOMPARE(listEntries(), QStringList{"Wald"});
}

void TestSchemeFile::closingTheWindowClosesTheFile() {
    QVERIFY(window_.open());
    QVERIFY(window_->schemes().isOpen());
    window_->close();
    QVERIFY(!window_->schemes().isOpen());
    QVERIFY(window_.dialogs.messages.isEmpty());
}

void TestSchemeFile::endLeavesTheFileOpenAndEndsAtOnce() {
    QVERIFY(window_.open());
    int ended = 0;
    window_->setProcessEnd([&] {
        ++ended;
        QVERIFY(!window_->isVisible()); // hidden first
    });
    byName<QAction>(window_.get(), "mnuEnde")->trigger();
    QCOMPARE(ended, 1);
    QVERIFY(window_->schemes().isOpen()); // no unload handler on this way out
    QVERIFY(window_.dialogs.messages.isEmpty());
}

void TestSchemeFile::location_data() {
    QTest::addColumn<bool>("besideExists");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("useExecutableDirectory");
    QTest::newRow("writable directory") << false << true << true;
    QTest::newRow("file already beside the program") << true << false << true;
    QTest::newRow("both") << true << true << true;
    QTest::newRow("read-only directory without a file") << false << false << false;
}

void TestSchemeFile::location() {
    QFETCH(bool, besideExists);
    QFETCH(bool, writable);
    QFETCH(bool, useExecutableDirectory);
    const QString programDir = window_.dir->filePath("bin");
    const QString userDir = window_.dir->filePath("home/.local/share/Pigmora");
    QVERIFY(QDir().mkpath(programDir));
    if (besideExists)
        QFile(programDir + "/Farben.mdb").open(QIODevice::WriteOnly);
    QStringList asked;
    const QString chosen = chooseSchemeDirectory(programDir, userDir, [&](const QString& dir) {
        asked << dir;
        return writable;
    });
    QCOMPARE(chosen, useExecutableDirectory ? programDir : userDir);
    QCOMPARE(QDir(userDir).exists(), !useExecutableDirectory); // made only when used
    // The real check, without a replacement: a directory that does not exist is not writable.
    const QString missing = window_.dir->filePath("missing/bin");
    QCOMPARE(chooseSchemeDirectory(missing, userDir), userDir);
    QCOMPARE(chooseSchemeDirectory(programDir, userDir), programDir);
}

QTEST_MAIN(TestSchemeFile)
#include "test_scheme_file.moc"
