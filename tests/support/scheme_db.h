#pragma once

// Direct access to a scheme file with SQLite itself, to prepare files and check what the
// program stored without going through the program's own code.

#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <sqlite3.h>

namespace pigmora::test {

class RawDb {
public:
    explicit RawDb(const QString& path) {
        sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr);
    }
    ~RawDb() { sqlite3_close_v2(db_); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    // Runs one statement with positional parameters; returns SQLite's result code.
    int exec(const QString& sql, const QVariantList& params = {}) {
        sqlite3_stmt* stmt = prepare(sql, params);
        int rc = stmt ? sqlite3_step(stmt) : sqlite3_errcode(db_);
        while (rc == SQLITE_ROW)
            rc = sqlite3_step(stmt);
        sqlite3_finalize(stmt);
        return rc;
    }

    // All rows of a query, each row's columns joined by "|" (NULL as "NULL").
    QStringList rows(const QString& sql) {
        QStringList out;
        sqlite3_stmt* stmt = prepare(sql, {});
        while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList cols;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                cols << (sqlite3_column_type(stmt, i) == SQLITE_NULL
                             ? QStringLiteral("NULL")
                             : QString::fromUtf8(
                                   reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))));
            out << cols.join(QLatin1Char('|'));
        }
        sqlite3_finalize(stmt);
        return out;
    }

    // Adds a scheme record; a null QVariant stores NULL.
    int addScheme(const QVariant& name, const QVariantList& channels) {
        return exec(QStringLiteral("INSERT INTO Farbtabelle VALUES (?,?,?,?,?,?,?)"),
                    QVariantList{name} + channels);
    }

private:
    sqlite3_stmt* prepare(const QString& sql, const QVariantList& params) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
            return nullptr;
        for (int i = 0; i < params.size(); ++i) {
            const QVariant& p = params[i];
            if (p.isNull())
                sqlite3_bind_null(stmt, i + 1);
            else if (p.typeId() == QMetaType::Int || p.typeId() == QMetaType::LongLong)
                sqlite3_bind_int64(stmt, i + 1, p.toLongLong());
            else if (p.typeId() == QMetaType::Double)
                sqlite3_bind_double(stmt, i + 1, p.toDouble());
            else
                sqlite3_bind_text(stmt, i + 1, p.toString().toUtf8().constData(), -1,
                                  SQLITE_TRANSIENT);
        }
        return stmt;
    }

    sqlite3* db_ = nullptr;
};

// A scheme table as another program might have made it: the same columns, no limits.
inline void createForeignSchemeTable(const QString& path) {
    RawDb(path).exec(QStringLiteral("CREATE TABLE Farbtabelle (Name TEXT, Rot INTEGER, "
                                    "\"Grün\" INTEGER, Blau INTEGER, Roth INTEGER, "
                                    "\"Grünh\" INTEGER, Blauh INTEGER)"));
}

inline QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace pigmora::test
