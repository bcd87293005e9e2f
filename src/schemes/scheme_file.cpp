#include "scheme_file.h"

#include "sqlite_statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sqlite3.h>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#endif

namespace pigmora {

namespace {

// Every column nullable, no key, no index, no defaults. The engine itself keeps names to 30
// characters and channels to whole numbers from 0 to 255.
constexpr char createTableSql[] = R"(CREATE TABLE Farbtabelle (
    "Name"  TEXT    CHECK (typeof("Name")  IN ('text', 'null') AND length("Name") <= 30),
    "Rot"   INTEGER CHECK (typeof("Rot")   IN ('integer', 'null') AND "Rot"   BETWEEN 0 AND 255),
    "Grün"  INTEGER CHECK (typeof("Grün")  IN ('integer', 'null') AND "Grün"  BETWEEN 0 AND 255),
    "Blau"  INTEGER CHECK (typeof("Blau")  IN ('integer', 'null') AND "Blau"  BETWEEN 0 AND 255),
    "Roth"  INTEGER CHECK (typeof("Roth")  IN ('integer', 'null') AND "Roth"  BETWEEN 0 AND 255),
    "Grünh" INTEGER CHECK (typeof("Grünh") IN ('integer', 'null') AND "Grünh" BETWEEN 0 AND 255),
    "Blauh" INTEGER CHECK (typeof("Blauh") IN ('integer', 'null') AND "Blauh" BETWEEN 0 AND 255)
))";

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void fail(const QString& path, const QString& reason, bool fileExists = true) {
    QString text = QStringLiteral("Die Farbdatei kann nicht geöffnet werden:\n%1\n\n%2")
                       .arg(shown(path), reason);
    if (fileExists)
        text += QStringLiteral("\n\nDie Datei bleibt unverändert.");
    throw SchemeFileError(text);
}

[[noreturn]] void failWithEngine(sqlite3* db, const QString& path, bool fileExists = true) {
    const QString message = QStringLiteral("Meldung der Datenbank: %1").arg(engineMessage(db));
    sqlite3_close_v2(db);
    fail(path, message, fileExists);
}

// Files of the old desktop database engine start with this signature; they cannot be read.
bool hasOldFormatSignature(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(19);
    return head.size() == 19 && head.startsWith(QByteArray("\x00\x01\x00\x00", 4)) &&
           (head.mid(4) == "Standard Jet DB" || head.mid(4) == "Standard ACE DB");
}

sqlite3* openConnection(const QString& path, int flags) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    return db; // even on failure, for its message
}

void configure(sqlite3* db) {
    sqlite3_extended_result_codes(db, 1);
    // A double-quoted name is always a column name, never a text: a missing column must be an
    // error, not a constant.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_busy_timeout(db, SchemeFile::busyTimeoutMs);
    sqlite3_exec(db, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
}

// Reads the whole file's structure; a damaged file is refused rather than written to.
void checkIntact(sqlite3* db, const QString& path) {
    SqliteStatement check(db, "PRAGMA quick_check");
    if (!check.isValid())
        failWithEngine(db, path);
    const int rc = check.step();
    if (rc != SQLITE_ROW)
        failWithEngine(db, path);
    const QString verdict = check.column(0).toString();
    if (verdict != QLatin1String("ok")) {
        check = {};
        sqlite3_close_v2(db);
        fail(path, QStringLiteral("Die Datei ist beschädigt: %1").arg(verdict));
    }
}

void checkTable(sqlite3* db, const QString& path) {
    SqliteStatement table(db, "SELECT type FROM sqlite_master WHERE name = 'Farbtabelle'");
    if (!table.isValid())
        failWithEngine(db, path);
    if (table.step() != SQLITE_ROW || table.column(0).toString() != QLatin1String("table")) {
        table = {};
        sqlite3_close_v2(db);
        fail(
            path,
            QStringLiteral("Meldung der Datenbank: no such table: %1 (Fehler 1)").arg(schemeTable));
    }
}

sqlite3* openChecked(const QString& path, int flags = SQLITE_OPEN_READWRITE) {
    if (hasOldFormatSignature(path))
        fail(path, QStringLiteral("Die Datei liegt in einem älteren Datenbankformat vor, das "
                                  "dieses Programm nicht lesen kann."));
    sqlite3* db = openConnection(path, flags);
    if (!db || sqlite3_errcode(db) != SQLITE_OK)
        failWithEngine(db, path);
    configure(db);
    checkIntact(db, path);
    checkTable(db, path);
    return db;
}

// Moves the file `from` to `to`, unless something is at `to` already: that is never replaced.
// QFile::rename is not enough: it looks first and then renames, and if another program's file
// appears in between, it copies over that file (truncating it while its program uses it).
bool moveIntoPlace(const QString& from, const QString& to) {
#ifdef Q_OS_LINUX
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false; // EEXIST: another program was first
    // A file system that cannot rename without replacing: a new hard link fails just as
    // surely when the name is taken.
    if (link(source.constData(), target.constData()) != 0)
        return false;
    unlink(source.constData());
    return true;
#else
    return QFile::rename(from, to);
#endif
}

// Creates the file under a temporary name and moves it into place only once the table is in
// it, so a failed first start never leaves an empty or half-made scheme file behind. Returns
// false if another program put a file there in the meantime.
bool createNew(const QString& path) {
    const QString temporary =
        QStringLiteral("%1.new-%2")
            .arg(path)
            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    sqlite3* db = openConnection(temporary,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW);
    const auto discard = [&] {
        sqlite3_close_v2(db);
        QFile::remove(temporary);
    };
    if (!db || sqlite3_errcode(db) != SQLITE_OK) {
        const QString message = engineMessage(db);
        discard();
        fail(path, QStringLiteral("Meldung der Datenbank: %1").arg(message), false);
    }
    configure(db);
    if (sqlite3_exec(db, createTableSql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString message = engineMessage(db);
        discard();
        fail(path, QStringLiteral("Meldung der Datenbank: %1").arg(message), false);
    }
    if (sqlite3_close(db) != SQLITE_OK) {
        discard();
        fail(path, QStringLiteral("Die neue Datei konnte nicht geschlossen werden."), false);
    }
    if (moveIntoPlace(temporary, path))
        return true;
    const bool someoneElse = QFileInfo(path).exists();
    QFile::remove(temporary);
    if (!someoneElse)
        fail(path, QStringLiteral("Die neue Datei konnte nicht angelegt werden."), false);
    return false;
}

} // namespace

std::unique_ptr<SchemeFile> SchemeFile::openOrCreate(const QString& path) {
    QFileInfo info(path);
    if (!info.isFile()) {
        if (info.exists() || info.isSymLink()) {
            // A folder, a link to nothing or a device: let the engine say why it cannot use it.
            sqlite3* db = openConnection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW);
            if (db && sqlite3_errcode(db) == SQLITE_OK)
                sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
            if (db && sqlite3_errcode(db) == SQLITE_OK)
                sqlite3_close_v2(db);
            else
                failWithEngine(db, path);
            fail(path, QStringLiteral("An dieser Stelle liegt keine gewöhnliche Datei."));
        }
        createNew(path);
    }
    return std::unique_ptr<SchemeFile>(new SchemeFile(openChecked(path), path));
}

std::unique_ptr<SchemeFile> SchemeFile::openExisting(const QString& path, Access access) {
    if (!QFileInfo(path).isFile())
        fail(path, QStringLiteral("An dieser Stelle gibt es keine Farbdatei."), false);
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    return std::unique_ptr<SchemeFile>(new SchemeFile(openChecked(path, flags), path));
}

SchemeFile::~SchemeFile() {
    if (db_)
        sqlite3_close_v2(db_);
}

void SchemeFile::close() {
    if (!db_)
        return;
    if (sqlite3_close(db_) != SQLITE_OK) {
        const QString message = engineMessage(db_);
        throw SchemeFileError(
            QStringLiteral("Die Farbdatei konnte nicht geschlossen werden:\n%1\n\n%2")
                .arg(shown(path_), message));
    }
    db_ = nullptr;
}

} // namespace pigmora
