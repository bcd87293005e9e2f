#include "sqlite_statement.h"

namespace pigmora {

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

void SqliteStatement::bind(int index, const QVariant& value) {
    if (value.isNull()) {
        sqlite3_bind_null(stmt_, index);
    } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong ||
               value.typeId() == QMetaType::UInt || value.typeId() == QMetaType::UChar) {
        sqlite3_bind_int64(stmt_, index, value.toLongLong());
    } else {
        const QByteArray utf8 = value.toString().toUtf8();
        sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
}

void SqliteStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

QVariant SqliteStatement::column(int index) const {
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt_, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, index));
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt_, index)));
    }
    }
}

QString engineMessage(sqlite3* db) {
    return QStringLiteral("%1 (Fehler %2)")
        .arg(QString::fromUtf8(sqlite3_errmsg(db)))
        .arg(sqlite3_extended_errcode(db));
}

} // namespace pigmora
