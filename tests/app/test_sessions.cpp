#include "scheme_db.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Whole program sessions in separate processes: what one session stored, the next one lists,
// however the first one ended.
class TestSessions : public QObject {
    Q_OBJECT
private slots:
    void nextStartShowsWhatWasStored_data();
    void nextStartShowsWhatWasStored();

private:
    static QString run(const QStringList& args, int* exitCode = nullptr) {
        QProcess p;
        p.start(QStringLiteral(PIGMORA_SESSION), args);
        if (!p.waitForFinished(30000))
            qFatal("session did not end");
        if (exitCode)
            *exitCode = p.exitCode();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
};

void TestSessions::nextStartShowsWhatWasStored_data() {
    QTest::addColumn<QString>("ending");
    QTest::newRow("closing the window") << "store-close";
    QTest::newRow("Ende") << "store-end";
}

void TestSessions::nextStartShowsWhatWasStored() {
    QFETCH(QString, ending);
    QTemporaryDir dir;
    int code = -1;
    const QString saved = run({dir.path(), ending, "Wiese", "Abend", "Wiese"}, &code);
    QCOMPARE(code, 0);
    QCOMPARE(saved, "saved Wiese\nsaved Abend\nsaved Wiese\n");
    // Nothing left over from an unfinished write.
    QVERIFY(!QFile::exists(dir.filePath("Farben.mdb-journal")));
    QCOMPARE(run({dir.path(), "list"}, &code), "Abend\nWiese\nWiese\n");
    QCOMPARE(code, 0);
    QCOMPARE(pigmora::test::RawDb(dir.filePath("Farben.mdb")).rows("PRAGMA integrity_check"),
             QStringList{"ok"});
}

QTEST_GUILESS_MAIN(TestSessions)
#include "test_sessions.moc"
