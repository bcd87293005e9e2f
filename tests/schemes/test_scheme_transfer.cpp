#include "scheme_db.h"

#include "schemes/scheme_file.h"
#include "schemes/scheme_transfer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace pigmora;
using test::RawDb;

// Reading all schemes at once and adding many in one transaction, on files made by the
// program's own opening code.
class TestSchemeTransfer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readsCompleteRecordsInStoredOrder();
    void addsAllOrNothing_data();
    void addsAllOrNothing();
    void openExistingNeverCreates();
    void readOnlyFileCannotBeChanged();

private:
    QString path() const { return dir_->filePath(QStringLiteral("Farben.mdb")); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestSchemeTransfer::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    SchemeFile::openOrCreate(path())->close();
}

void TestSchemeTransfer::readsCompleteRecordsInStoredOrder() {
    {
        RawDb db(path());
        db.addScheme("Zebra", {1, 2, 3, 4, 5, 6});
        db.addScheme(QVariant(), {1, 2, 3, 4, 5, 6}); // no name
        db.addScheme("Abend", {255, 255, 255, 0, 0, 0});
        db.addScheme("Lücke", {1, QVariant(), 3, 4, 5, 6}); // a missing channel
        db.addScheme("Zebra", {7, 8, 9, 10, 11, 12});
    }
    const auto file = SchemeFile::openExisting(path(), SchemeFile::Access::ReadOnly);
    const StoredSchemes read = readStoredSchemes(*file);
    QVERIFY(read.error.isEmpty());
    QCOMPARE(read.incomplete, 2);
    const std::vector<ColourScheme> expected{{"Zebra", {1, 2, 3}, {4, 5, 6}},
                                             {"Abend", {255, 255, 255}, {0, 0, 0}},
                                             {"Zebra", {7, 8, 9}, {10, 11, 12}}};
    QVERIFY(read.schemes == expected);
}

void TestSchemeTransfer::addsAllOrNothing_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("added");
    QTest::addRow("three") << QStringList{"Eins", "Zwei", "Eins"} << true;
    QTest::addRow("none") << QStringList{} << true;
    // The engine refuses the third (31 characters): the first two must not stay either.
    QTest::addRow("one refused") << QStringList{"Eins", "Zwei", QString(31, 'x'), "Vier"} << false;
}

void TestSchemeTransfer::addsAllOrNothing() {
    QFETCH(QStringList, names);
    QFETCH(bool, added);
    RawDb(path()).addScheme("Alt", {0, 0, 0, 0, 0, 0});
    std::vector<ColourScheme> schemes;
    for (const QString& name : names)
        schemes.push_back({name, {10, 20, 30}, {40, 50, 60}});
    const auto file = SchemeFile::openExisting(path(), SchemeFile::Access::ReadWrite);
    const auto error = addSchemes(*file, schemes);
    QCOMPARE(!error.has_value(), added);
    QStringList expected{"Alt|0|0|0|0|0|0"};
    if (added)
        for (const QString& name : names)
            expected << name + "|10|20|30|40|50|60";
    QCOMPARE(RawDb(path()).rows("SELECT * FROM Farbtabelle ORDER BY rowid"), expected);
    // The connection is usable afterwards: no transaction was left open.
    QVERIFY(!addSchemes(*file, {{"Danach", {1, 1, 1}, {2, 2, 2}}}));
}

void TestSchemeTransfer::openExistingNeverCreates() {
    const QString missing = dir_->filePath(QStringLiteral("Fehlt.mdb"));
    try {
        SchemeFile::openExisting(missing, SchemeFile::Access::ReadWrite);
        QFAIL("a missing file opened");
    } catch (const SchemeFileError& e) {
        QVERIFY2(e.message().contains(missing), qPrintable(e.message()));
    }
    QVERIFY(!QFile::exists(missing));
}

void TestSchemeTransfer::readOnlyFileCannotBeChanged() {
    const QByteArray before = test::fileHash(path());
    const auto file = SchemeFile::openExisting(path(), SchemeFile::Access::ReadOnly);
    QVERIFY(addSchemes(*file, {{"Neu", {1, 1, 1}, {2, 2, 2}}}).has_value());
    QCOMPARE(test::fileHash(path()), before);
}

QTEST_GUILESS_MAIN(TestSchemeTransfer)
#include "test_scheme_transfer.moc"
