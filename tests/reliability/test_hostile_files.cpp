#include "scheme_db.h"
#include "session_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using pigmora::test::RawDb;
using pigmora::test::runSession;
using pigmora::test::SessionResult;

namespace {

// Puts whatever the row is about at dir/Farben.mdb (and beside it).
using MakeFile = std::function<void(const QString& dir)>;

QString schemeFile(const QString& dir) {
    return QDir(dir).filePath(QStringLiteral("Farben.mdb"));
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray randomBytes(int size, quint32 seed) {
    QByteArray bytes(size, '\0');
    QRandomGenerator gen(seed);
    for (char& c : bytes)
        c = char(gen.bounded(256));
    return bytes;
}

// A file as the program itself makes it, holding `schemes` schemes.
void programFile(const QString& dir, int schemes) {
    if (!runSession({dir, QStringLiteral("list")}).endedWith(0))
        qFatal("the program did not make its file");
    RawDb db(schemeFile(dir));
    db.exec(QStringLiteral("BEGIN"));
    for (int i = 0; i < schemes; ++i)
        db.addScheme(QStringLiteral("Schema %1").arg(i), QVariantList(6, QVariant(i % 256)));
    db.exec(QStringLiteral("COMMIT"));
}

MakeFile bytes(const QByteArray& content) {
    return [content](const QString& dir) { writeBytes(schemeFile(dir), content); };
}

MakeFile sql(const QStringList& statements) {
    return [statements](const QString& dir) {
        RawDb db(schemeFile(dir));
        for (const QString& statement : statements)
            if (int rc = db.exec(statement); rc != SQLITE_DONE && rc != SQLITE_OK)
                qFatal("preparing the file failed (%d): %s", rc, qPrintable(statement));
    };
}

// The program's own file of 200 schemes, cut to `size` bytes.
MakeFile truncated(qint64 size) {
    return [size](const QString& dir) {
        programFile(dir, 200);
        QFile f(schemeFile(dir));
        if (!f.resize(size < 0 ? f.size() + size : size))
            qFatal("cannot truncate");
    };
}

// The program's own file of 1,000 schemes (10 pages) with one bit turned over at `offset`
// (negative: from the end).
MakeFile bitFlipped(qint64 offset, int bit) {
    return [offset, bit](const QString& dir) {
        programFile(dir, 1000);
        QByteArray content = readBytes(schemeFile(dir));
        const qint64 at = offset < 0 ? content.size() + offset : offset;
        if (at < 0 || at >= content.size())
            qFatal("offset %lld lies outside the file", offset);
        content[at] = char(content[at] ^ (1 << bit));
        writeBytes(schemeFile(dir), content);
    };
}

// A scheme table that another program made: the right columns, but without types or limits, so
// every value is kept as it was given.
const QString untypedTableSql =
    QStringLiteral("CREATE TABLE Farbtabelle (Name, Rot, \"Grün\", Blau, Roth, \"Grünh\", Blauh)");

// Everything in the directory: names, kinds, contents and link targets.
QStringList snapshot(const QString& dir) {
    QStringList entries;
    const auto list = QDir(dir).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& info : list) {
        QString entry = info.fileName();
        if (info.isSymLink())
            entry += QStringLiteral(" -> ") + info.symLinkTarget();
        else if (info.isDir())
            entry += QStringLiteral("/ ") + QDir(info.filePath()).entryList().join(',');
        else if (info.isFile())
            entry += QStringLiteral(" ") +
                     QString::fromLatin1(pigmora::test::fileHash(info.filePath()).toHex());
        entries << entry;
    }
    return entries;
}

} // namespace

Q_DECLARE_METATYPE(MakeFile)

// Scheme files that are broken or were written by another program. Each is opened by a real
// start of the program in a process of its own (pigmora_session), which then picks every listed
// scheme in turn. For each: either a clean start with the readable schemes, or the start-up
// message; never a crash, a hang, or any change to the file or its directory.
class TestHostileFiles : public QObject {
    Q_OBJECT
private slots:
    void startsCleanlyOrRefuses_data();
    void startsCleanlyOrRefuses();
    void unreadableFileIsRefused();
};

void TestHostileFiles::startsCleanlyOrRefuses_data() {
    QTest::addColumn<MakeFile>("make");
    // "clean": starts and picks exactly `lines` ("<entry>\t<text RRGGBB>\t<background RRGGBB>");
    // "refused": the start-up message, containing `lines`' first line;
    // "either": one or the other (where the damage decides).
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QStringList>("lines");

    const auto refused = [](const char* row, MakeFile make, const QString& reason) {
        QTest::newRow(row) << make << QStringLiteral("refused") << QStringList{reason};
    };
    const auto clean = [](const char* row, MakeFile make, const QStringList& lines) {
        QTest::newRow(row) << make << QStringLiteral("clean") << lines;
    };
    const auto either = [](const char* row, MakeFile make) {
        QTest::newRow(row) << make << QStringLiteral("either") << QStringList();
    };
    const QString notADatabase = QStringLiteral("file is not a database");

    // Not SQLite at all.
    refused("random bytes", bytes(randomBytes(8192, 1)), notADatabase);
    refused("empty file", bytes({}), QStringLiteral("no such table: Farbtabelle"));
    // SQLite takes a file shorter than its header for an empty database.
    refused("one byte", bytes("\n"), QStringLiteral("no such table: Farbtabelle"));
    refused("text file", bytes("Name;Rot;Grün;Blau\nMeer;0;0;255\n"), notADatabase);
    refused("old format header",
            bytes(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2028, '\0')),
            QStringLiteral("älteren Datenbankformat"));
    refused("old format header, newer variant",
            bytes(QByteArray("\x00\x01\x00\x00Standard ACE DB\x00", 20) + randomBytes(4076, 2)),
            QStringLiteral("älteren Datenbankformat"));
    either("SQLite signature, then random bytes",
           bytes(QByteArray("SQLite format 3\0", 16) + randomBytes(8176, 3)));

    // The program's own file, damaged.
    either("truncated to half", truncated(-4096 * 2));
    either("truncated to the first page", truncated(4096));
    either("truncated inside the header", truncated(60));
    refused("page size turned over", bitFlipped(16, 3), notADatabase);
    either("bit flip in the page count", bitFlipped(31, 0));
    either("bit flip in the schema's page header", bitFlipped(100, 2));
    either("bit flip in the table's definition", bitFlipped(4096 - 60, 1));
    either("bit flip in the last page's header", bitFlipped(-4096, 0));
    either("bit flip in a stored name", bitFlipped(-20, 5));
    for (int i = 0; i < 10; ++i) {
        QRandomGenerator gen(100 + i);
        const qint64 offset = gen.bounded(4096 * 9);
        const int bit = gen.bounded(8);
        QTest::addRow("bit flip at %lld, bit %d", offset, bit)
            << bitFlipped(offset, bit) << QStringLiteral("either") << QStringList();
    }

    // SQLite files without the scheme table as the program needs it.
    refused("database without the table", sql({"CREATE TABLE Andere (x)"}),
            QStringLiteral("no such table: Farbtabelle"));
    refused("a view of that name", sql({"CREATE VIEW Farbtabelle AS SELECT 1 AS Name"}),
            QStringLiteral("no such table: Farbtabelle"));
    refused("an index of that name",
            sql({"CREATE TABLE Andere (x)", "CREATE INDEX Farbtabelle ON Andere (x)"}),
            QStringLiteral("no such table: Farbtabelle"));
    refused("column names in English",
            sql({"CREATE TABLE Farbtabelle (Name, Red, Green, Blue, RedB, GreenB, BlueB)"}),
            QStringLiteral("no such column"));
    refused("a column missing",
            sql({"CREATE TABLE Farbtabelle (Name, Rot, \"Grün\", Blau, Roth, \"Grünh\")"}),
            QStringLiteral("no such column: Blauh"));
    refused("umlauts spelt out",
            sql({"CREATE TABLE Farbtabelle (Name, Rot, Gruen, Blau, Roth, Gruenh, Blauh)"}),
            QStringLiteral("no such column"));
    refused("a table without row ids",
            sql({"CREATE TABLE Farbtabelle (Name TEXT PRIMARY KEY, Rot, \"Grün\", Blau, Roth, "
                 "\"Grünh\", Blauh) WITHOUT ROWID"}),
            QStringLiteral("no such column: rowid"));
    refused("a definition that does not parse",
            sql({untypedTableSql, "PRAGMA writable_schema = ON",
                 "UPDATE sqlite_master SET sql = 'CREATE TABLE Farbtabelle (Name, Rot' WHERE "
                 "name = 'Farbtabelle'"}),
            QStringLiteral("malformed database schema"));

    // Scheme tables another program wrote, with values the program would never store.
    const QString insert = QStringLiteral("INSERT INTO Farbtabelle VALUES ");
    // After the valid first scheme, a channel that is not a whole number from 0 to 255 is
    // skipped: it keeps what the sliders held, and the setters after it paint that.
    clean("channels out of range",
          sql({untypedTableSql, insert + "('A gültig', 10, 20, 30, 40, 50, 60)",
               insert + "('B zu groß', 256, 1, 2, 300, 4, 5)",
               insert + "('C negativ', -1, 7, 8, -300, 9, 10)",
               insert + "('D riesig', 9223372036854775807, -9223372036854775808, 1e300, 11, "
                        "12, 13)"}),
          {"A gültig\t0A141E\t28323C", "B zu groß\t280102\t280405", "C negativ\t280708\t28090A",
           "D riesig\t280708\t0B0C0D"});
    clean("text, fractions and bytes in the channels",
          sql({untypedTableSql, insert + "('A gültig', 10, 20, 30, 40, 50, 60)",
               insert + "('B Text', 'rot', '12', x'0C', 'x', 15, 16.0)",
               insert + "('C leer', NULL, NULL, NULL, NULL, NULL, NULL)"}),
          {"A gültig\t0A141E\t28323C", "B Text\t0A141E\t280F3C", "C leer\t0A141E\t280F3C"});
    clean("NULL names are left out",
          sql({untypedTableSql, insert + "(NULL, 1, 2, 3, 4, 5, 6)",
               insert + "('Wald', 10, 20, 30, 40, 50, 60)", insert + "(NULL, 7, 7, 7, 7, 7, 7)"}),
          {"Wald\t0A141E\t28323C"});
    const QString longName(10000, QLatin1Char('x'));
    clean("a name of 10,000 characters",
          sql({untypedTableSql, insert + "('" + longName + "', 1, 2, 3, 4, 5, 6)",
               insert + "('kurz', 10, 20, 30, 40, 50, 60)"}),
          {"kurz\t0A141E\t28323C", longName + "\t010203\t040506"});
    clean("names that are numbers or bytes",
          sql({untypedTableSql, insert + "(42, 1, 2, 3, 4, 5, 6)",
               insert + "(x'4D656572', 10, 20, 30, 40, 50, 60)"}),
          {"42\t010203\t040506", "Meer\t0A141E\t28323C"});
    clean("columns in another order, and one more",
          sql({"CREATE TABLE Farbtabelle (Blauh, Extra, \"Grünh\", Roth, Blau, \"Grün\", Rot, "
               "Name)",
               "INSERT INTO Farbtabelle VALUES (60, 'x', 50, 40, 30, 20, 10, 'Wald')"}),
          {"Wald\t0A141E\t28323C"});
    clean("UTF-16 text",
          sql({"PRAGMA encoding = 'UTF-16le'", untypedTableSql,
               insert + "('Grün über Weiß', 10, 20, 30, 40, 50, 60)"}),
          {"Grün über Weiß\t0A141E\t28323C"});
    clean(
        "written ahead in a log (WAL)",
        sql({"PRAGMA journal_mode = WAL", untypedTableSql, insert + "('Nacht', 1, 2, 3, 4, 5, 6)"}),
        {"Nacht\t010203\t040506"});

    // Not a file.
    refused(
        "a directory", [](const QString& dir) { QDir(dir).mkpath("Farben.mdb/Unterordner"); },
        QStringLiteral("unable to open database file"));
    refused(
        "a link to a missing file",
        [](const QString& dir) { QFile::link(QDir(dir).filePath("fehlt.mdb"), schemeFile(dir)); },
        QStringLiteral("Fehler"));
    refused(
        "a named pipe", [](const QString& dir) { mkfifo(qPrintable(schemeFile(dir)), 0600); },
        QStringLiteral("Fehler"));
    clean("a link to a good file",
          [](const QString& dir) {
              QDir(dir).mkdir("woanders");
              RawDb db(QDir(dir).filePath("woanders/echt.mdb"));
              db.exec(untypedTableSql);
              db.addScheme("Wald", {10, 20, 30, 40, 50, 60});
              QFile::link(QDir(dir).filePath("woanders/echt.mdb"), schemeFile(dir));
          },
          {"Wald\t0A141E\t28323C"});
}

void TestHostileFiles::startsCleanlyOrRefuses() {
    QFETCH(MakeFile, make);
    QFETCH(QString, outcome);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    make(dir.path());
    const QStringList before = snapshot(dir.path());

    const SessionResult r = runSession({dir.path(), QStringLiteral("select-all")}, 60000);
    QVERIFY2(r.finished, "the program hung");
    QVERIFY2(!r.crashed, qPrintable(r.err));
    QVERIFY2(r.exitCode == 0 || r.exitCode == 3, qPrintable(r.err));
    const bool started = r.exitCode == 0;
    if (outcome == QLatin1String("either"))
        qInfo(started ? "started with %lld schemes" : "refused", qsizetype(r.outLines().size()));
    else
        QCOMPARE(started, outcome == QLatin1String("clean"));
    if (started) {
        if (outcome == QLatin1String("clean"))
            QCOMPARE(r.outLines(), lines);
    } else {
        QVERIFY2(r.err.contains(QStringLiteral("Die Farbdatei kann nicht geöffnet werden")),
                 qPrintable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("Die Datei bleibt unverändert.")),
                 qPrintable(r.err));
        if (!lines.isEmpty())
            QVERIFY2(r.err.contains(lines.first()), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }
    QCOMPARE(snapshot(dir.path()), before);
}

// A file the program may not read. Root may read anything, so as root the program runs as the
// user nobody for this case.
void TestHostileFiles::unreadableFileIsRefused() {
    QTemporaryDir dir;
    programFile(dir.path(), 3);
    const QStringList before = snapshot(dir.path());
    QStringList args{dir.path(), QStringLiteral("select-all")};
    if (geteuid() == 0) {
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            QSKIP("running as root without setpriv to run as another user");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadOther | QFile::ExeOther);
        args = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                           pigmora::test::sessionProgram()} +
               args;
    }
    QVERIFY(QFile::setPermissions(schemeFile(dir.path()), QFile::WriteOwner));
    QProcess p;
    p.start(geteuid() == 0 ? QStringLiteral("setpriv") : pigmora::test::sessionProgram(), args);
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 3);
    QVERIFY(p.readAllStandardError().contains("Die Farbdatei kann nicht geöffnet werden"));
    QVERIFY(QFile::setPermissions(schemeFile(dir.path()), QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(snapshot(dir.path()), before);
}

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "test_hostile_files.moc"
