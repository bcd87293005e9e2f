#include "scheme_db.h"
#include "session_process.h"
#include "tool_process.h"

#include "schemes/scheme_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using pigmora::test::RawDb;

// pigmora-schemes imports into a file while the program stores into it through "&Neu" (the
// program's own code, in pigmora_session).
class TestSchemesToolConcurrency : public QObject {
    Q_OBJECT
private slots:
    void importWhileTheProgramStores_data();
    void importWhileTheProgramStores();
};

namespace {

QByteArray importFile(const QString& prefix, int count) {
    QJsonArray schemes;
    for (int i = 1; i <= count; ++i)
        schemes.append(QJsonObject{{"name", QStringLiteral("%1%2").arg(prefix).arg(i)},
                                   {"text", "#102030"},
                                   {"background", QJsonArray{i % 256, 255, 0}}});
    return QJsonDocument(schemes).toJson(QJsonDocument::Compact);
}

} // namespace

void TestSchemesToolConcurrency::importWhileTheProgramStores_data() {
    QTest::addColumn<int>("imports");
    QTest::addColumn<int>("perImport");
    QTest::newRow("one import of 5000") << 1 << 5000;
    QTest::newRow("three imports of 2000 in a row") << 3 << 2000;
}

// Every scheme the program stored and every imported one is there exactly once, each import in
// one piece between the program's stores, and the file is intact.
void TestSchemesToolConcurrency::importWhileTheProgramStores() {
    QFETCH(int, imports);
    QFETCH(int, perImport);
    QTemporaryDir dir;
    const QString file = dir.filePath("Farben.mdb");
    pigmora::SchemeFile::openOrCreate(file)->close();
    QStringList importFiles;
    for (int k = 1; k <= imports; ++k) {
        QFile f(dir.filePath(QStringLiteral("import-%1.json").arg(k)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(importFile(QStringLiteral("Import %1 - ").arg(k), perImport));
        importFiles << f.fileName();
    }

    const int stores = 300;
    QProcess session;
    session.start(pigmora::test::sessionProgram(),
                  {dir.path(), "store-many", "Fenster ", QString::number(stores), "5"});
    QVERIFY(session.waitForStarted());
    while (!session.peek(4096).contains('\n'))
        QVERIFY2(session.waitForReadyRead(60000), "no scheme stored within a minute");
    for (const QString& json : importFiles) {
        const auto run = pigmora::test::runTool({"import", json, "--file", file}, dir.path());
        QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.out, QString()); // the summary is no data
        QCOMPARE(run.err, QStringLiteral("%1 Farbschemata importiert.\n")
                              .arg(QLocale(QLocale::German).toString(perImport)));
    }
    QVERIFY(session.waitForFinished(240000));
    QVERIFY2(session.exitStatus() == QProcess::NormalExit && session.exitCode() == 0,
             session.readAllStandardError().constData());
    QCOMPARE(session.readAllStandardOutput().count("saved "), stores);

    QCOMPARE(RawDb(file).rows("PRAGMA integrity_check"), QStringList{"ok"});
    const QStringList names = RawDb(file).rows("SELECT Name FROM Farbtabelle ORDER BY rowid");
    QCOMPARE(names.size(), stores + imports * perImport);
    QMap<QString, int> seen;
    for (const QString& name : names)
        ++seen[name];
    for (int i = 1; i <= stores; ++i)
        QCOMPARE(seen.value(QStringLiteral("Fenster %1").arg(i)), 1);
    for (int k = 1; k <= imports; ++k) {
        const QString prefix = QStringLiteral("Import %1 - ").arg(k);
        for (int i = 1; i <= perImport; ++i)
            QCOMPARE(seen.value(prefix + QString::number(i)), 1);
        // In one piece and in the file's order.
        const qsizetype first = names.indexOf(prefix + "1");
        for (int i = 1; i <= perImport; ++i)
            QCOMPARE(names[first + i - 1], prefix + QString::number(i));
    }
    // The program stored before and after the imports: they really ran at the same time.
    QVERIFY(names.first().startsWith("Fenster "));
    QVERIFY2(names.last().startsWith("Fenster "), "the program had finished before the import");
}

QTEST_GUILESS_MAIN(TestSchemesToolConcurrency)
#include "test_schemes_tool_concurrency.moc"
