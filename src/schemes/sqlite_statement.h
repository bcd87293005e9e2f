#pragma once

#include <QString>
#include <QVariant>
#include <sqlite3.h>

namespace pigmora {

// A prepared statement that is finalised with its owner. Texts go in and out as UTF-8.
class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement() { sqlite3_finalize(stmt_); }
    SqliteStatement(SqliteStatement&& other) noexcept
        : stmt_(std::exchange(other.stmt_, nullptr)) {}
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isValid() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }

    // Binds a value to the 1-based parameter: a null QVariant binds NULL, integers bind as
    // integers, anything else as text.
    void bind(int index, const QVariant& value);
    void bind(int index, sqlite3_int64 value) { sqlite3_bind_int64(stmt_, index, value); }
    int step() { return sqlite3_step(stmt_); }
    // Ends a run: the statement keeps no lock on the file between commands.
    void reset();

    // The value of a result column, NULL as a null QVariant.
    QVariant column(int index) const;
    sqlite3_int64 integer(int index) const { return sqlite3_column_int64(stmt_, index); }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

// The message of the last failure on a connection, with its extended result code.
QString engineMessage(sqlite3* db);

} // namespace pigmora
