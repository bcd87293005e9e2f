#include "scheme_db.h"
#include "session_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <algorithm>

using pigmora::test::RawDb;
using pigmora::test::runSession;
using pigmora::test::sessionProgram;

// What a scheme file holds after the program storing into it was killed, or while two
// programs store into it at once. The stores run through the program's own "&Neu" in
// pigmora_session; the file is read with SQLite directly.
class TestCrashSafety : public QObject {
    Q_OBJECT
private slots:
    void killedWhileStoring();
    void twoFirstStartsAtOnce();
    void twoProgramsStoreAtOnce_data();
    void twoProgramsStoreAtOnce();

private:
    // Every record's name in the file, with how often it is there.
    static QMap<QString, int> storedNames(const QString& file) {
        QMap<QString, int> names;
        for (const QString& row : RawDb(file).rows("SELECT Name FROM Farbtabelle"))
            ++names[row];
        return names;
    }
    static QStringList reportedNames(const QByteArray& output) {
        QStringList names;
        // A line without its line feed was cut off by the kill; it reported nothing.
        for (const QByteArray& line : output.left(output.lastIndexOf('\n') + 1).split('\n'))
            if (line.startsWith("saved "))
                names << QString::fromUtf8(line.mid(6));
        return names;
    }
    static QStringList sorted(QStringList list) {
        std::sort(list.begin(), list.end());
        return list;
    }
};

// A program storing one scheme after another is killed (SIGKILL) at random moments, 20 times
// over on the same file: mostly while it stores, sometimes while it starts. Whatever it had
// reported as saved must be in the file exactly once, the file must be intact, and the next
// start lists it. Of the scheme being stored at the kill, the file holds all or nothing.
void TestCrashSafety::killedWhileStoring() {
    QTemporaryDir dir;
    const QString file = dir.filePath("Farben.mdb");
    const quint32 seed = qEnvironmentVariableIsSet("PIGMORA_SEED")
                             ? quint32(qEnvironmentVariableIntValue("PIGMORA_SEED"))
                             : QRandomGenerator::system()->generate();
    qInfo("PIGMORA_SEED=%u", seed);
    QRandomGenerator random(seed);

    QStringList mustBeThere; // each exactly once
    int reportedInAll = 0;
    int startupMs = 100; // until the first report; measured again in every round
    for (int round = 1; round <= 20; ++round) {
        const QString prefix = QStringLiteral("Lauf %1 - ").arg(round);
        QProcess session;
        session.start(sessionProgram(), {dir.path(), "store-many", prefix, "1000000"});
        QVERIFY(session.waitForStarted());
        QElapsedTimer sinceStart;
        sinceStart.start();
        if (round % 5 == 0) {
            // During start-up: opening, or rolling back what the previous kill left unfinished.
            QThread::msleep(random.bounded(startupMs + 1));
        } else {
            while (!session.peek(4096).contains('\n'))
                QVERIFY2(session.waitForReadyRead(60000), "no scheme stored within a minute");
            startupMs = int(sinceStart.elapsed());
            QThread::msleep(random.bounded(300));
        }
        QCOMPARE(session.state(), QProcess::Running);
        session.kill();
        QVERIFY(session.waitForFinished(60000));
        const QStringList reported = reportedNames(session.readAllStandardOutput());
        mustBeThere += reported;
        reportedInAll += reported.size();

        // The next start opens the file (rolling back an unfinished store) and lists
        // everything reported so far.
        const auto listed = runSession({dir.path(), "list"});
        QVERIFY2(listed.endedWith(0), qPrintable(listed.err));
        QCOMPARE(RawDb(file).rows("PRAGMA integrity_check"), QStringList{"ok"});
        const QMap<QString, int> stored = storedNames(file);
        // Besides what was reported, at most the one scheme that was being stored at the kill;
        // once there, it stays like any other.
        QStringList unreported;
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            if (!mustBeThere.contains(it.key()))
                unreported << it.key();
        const QString inFlight = prefix + QString::number(reported.size() + 1);
        QVERIFY2(unreported.isEmpty() || unreported == QStringList{inFlight},
                 qPrintable(unreported.join(", ")));
        mustBeThere += unreported;
        for (const QString& name : mustBeThere)
            QVERIFY2(stored.value(name) == 1,
                     qPrintable(
                         QStringLiteral("%1 is there %2 times").arg(name).arg(stored.value(name))));
        QCOMPARE(RawDb(file).rows("SELECT count(*) FROM Farbtabelle WHERE Rot IS NULL OR "
                                  "\"Grün\" IS NULL OR Blau IS NULL OR Roth IS NULL OR "
                                  "\"Grünh\" IS NULL OR Blauh IS NULL"),
                 QStringList{"0"});
        QCOMPARE(sorted(listed.outLines()),
                 sorted(RawDb(file).rows("SELECT Name FROM Farbtabelle")));
    }
    // The kills came while there was something to lose.
    QVERIFY2(reportedInAll >= 20, qPrintable(QString::number(reportedInAll)));
}

// Two programs started at the same moment in a folder without a scheme file both make one; the
// first to finish moves its file into place, the other must then use that one instead of
// replacing it. A hundred times over, as the moment the two meet varies.
void TestCrashSafety::twoFirstStartsAtOnce() {
    for (int round = 0; round < 100; ++round) {
        QTemporaryDir dir;
        QProcess first, second;
        first.start(sessionProgram(), {dir.path(), "store-many", "Erstes ", "3"});
        second.start(sessionProgram(), {dir.path(), "store-many", "Zweites ", "3"});
        for (QProcess* p : {&first, &second}) {
            QVERIFY(p->waitForFinished(60000));
            QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                     p->readAllStandardError().constData());
        }
        const QString file = dir.filePath("Farben.mdb");
        QCOMPARE(RawDb(file).rows("PRAGMA integrity_check"), QStringList{"ok"});
        QCOMPARE(storedNames(file).size(), 6);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"Farben.mdb"});
    }
}

void TestCrashSafety::twoProgramsStoreAtOnce_data() {
    QTest::addColumn<bool>("fileExists");
    QTest::newRow("both start on an existing file") << true;
    QTest::newRow("both make the file at the same time") << false;
}

// Two programs store 300 schemes each into the same file at the same time: every store waits
// for its turn, none is lost, none fails. Each pauses for 5 ms between two stores, as a program
// does between two clicks: storing without a pause, one of them can keep the file to itself
// until it is done (SQLite lets a waiting program retry after ever longer sleeps, without any
// fairness), and the other would give up once it waited longer than the busy timeout.
void TestCrashSafety::twoProgramsStoreAtOnce() {
    QFETCH(bool, fileExists);
    QTemporaryDir dir;
    const QString file = dir.filePath("Farben.mdb");
    if (fileExists)
        QVERIFY(runSession({dir.path(), "list"}).endedWith(0));
    QProcess first, second;
    first.start(sessionProgram(), {dir.path(), "store-many", "Erstes ", "300", "5"});
    second.start(sessionProgram(), {dir.path(), "store-many", "Zweites ", "300", "5"});
    for (QProcess* p : {&first, &second}) {
        QVERIFY(p->waitForFinished(240000));
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                 p->readAllStandardError().constData());
        QCOMPARE(reportedNames(p->readAllStandardOutput()).size(), 300);
    }
    QCOMPARE(RawDb(file).rows("PRAGMA integrity_check"), QStringList{"ok"});
    const QMap<QString, int> stored = storedNames(file);
    QCOMPARE(stored.size(), 600);
    for (const char* prefix : {"Erstes ", "Zweites "})
        for (int i = 1; i <= 300; ++i)
            QCOMPARE(stored.value(QString::fromUtf8(prefix) + QString::number(i)), 1);
    // They really stored at the same time: in stored order, their schemes alternate.
    int turns = 0;
    QChar last;
    for (const QString& name : RawDb(file).rows("SELECT Name FROM Farbtabelle ORDER BY rowid")) {
        turns += !last.isNull() && name[0] != last;
        last = name[0];
    }
    QVERIFY2(turns >= 10, qPrintable(QString::number(turns)));
    // Nothing but the one file is left in the directory.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"Farben.mdb"});
    const auto listed = runSession({dir.path(), "list"});
    QVERIFY(listed.endedWith(0));
    QCOMPARE(listed.outLines().size(), 600);
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "test_crash_safety.moc"
