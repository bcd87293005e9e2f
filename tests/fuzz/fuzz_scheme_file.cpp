// Opening and listing an arbitrary Farben.mdb: the input is written as the scheme file into a
// folder of its own, then the program's opening sequence (SchemeStore::open) runs on it. It
// either opens, lists and closes again, or refuses the file with a
// SchemeFileError carrying the start-up message; the file is never changed and nothing is left
// beside it. Where SQLite itself can read every name in the file, it lists exactly those.

#include "fuzz_support.h"
#include "schemes/scheme_file.h"
#include "schemes/scheme_store.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <sqlite3.h>

using namespace pigmora;

namespace {

QCoreApplication* app = nullptr;
QTemporaryDir* folder = nullptr;

QByteArray contentHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The names of every record that has one, read directly with SQLite, in a separate read-only
// connection; empty when the file cannot be read to its end.
std::optional<QStringList> namesReadDirectly(const QString& path) {
    sqlite3* db = nullptr;
    const QByteArray uri = "file:" + QFile::encodeName(path) + "?immutable=1";
    std::optional<QStringList> names;
    if (sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT Name FROM Farbtabelle WHERE Name IS NOT NULL", -1, &stmt,
                               nullptr) == SQLITE_OK) {
            QStringList read;
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                if (sqlite3_column_type(stmt, 0) == SQLITE_FLOAT)
                    read << QVariant(sqlite3_column_double(stmt, 0)).toString();
                else
                    read << QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                        sqlite3_column_bytes(stmt, 0));
            }
            if (rc == SQLITE_DONE)
                names = read;
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close_v2(db);
    return names;
}

QStringList sorted(QStringList list) {
    std::sort(list.begin(), list.end());
    return list;
}

QStringList folderEntries() {
    return QDir(folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static int argc = 1;
    static char name[] = "fuzz_scheme_file";
    static char* argv[] = {name, nullptr};
    app = new QCoreApplication(argc, argv); // kept for the whole run
    folder = new QTemporaryDir;
    std::atexit([] { delete folder; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = QDir(folder->path()).filePath(QString::fromLatin1(schemeFileName));
    for (const QString& entry : folderEntries())
        QFile::remove(QDir(folder->path()).filePath(entry));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly), "cannot write %s", qPrintable(path));
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const QByteArray before = contentHash(path);

    std::optional<QStringList> listed;
    try {
        SchemeStore store;
        listed = store.open(folder->path());
        store.close();
    } catch (const SchemeFileError& e) {
        FUZZ_CHECK(e.message().startsWith(QStringLiteral("Die Farbdatei kann nicht geöffnet")),
                   "unexpected message: %s", qPrintable(e.message()));
    }

    // Where SQLite itself reads every name, the program lists every one of them.
    if (listed)
        if (const auto names = namesReadDirectly(path))
            FUZZ_CHECK(sorted(*listed) == sorted(*names), "listed %lld names of %lld",
                       static_cast<long long>(listed->size()),
                       static_cast<long long>(names->size()));

    FUZZ_CHECK(contentHash(path) == before, "the scheme file was changed");
    FUZZ_CHECK(folderEntries() == QStringList{QString::fromLatin1(schemeFileName)},
               "left beside the scheme file: %s", qPrintable(folderEntries().join(", ")));
    return 0;
}
