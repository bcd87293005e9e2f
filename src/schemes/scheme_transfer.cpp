#include "scheme_transfer.h"

#include "scheme_file.h"
#include "sqlite_statement.h"

namespace pigmora {

namespace {

// A channel column as the select command takes it: only a whole number from 0 to 255.
std::optional<ChannelValue> channel(const SqliteStatement& row, int column) {
    if (sqlite3_column_type(row.get(), column) != SQLITE_INTEGER)
        return std::nullopt;
    const sqlite3_int64 v = row.integer(column);
    if (v < 0 || v > 255)
        return std::nullopt;
    return ChannelValue(v);
}

std::optional<Rgb> colour(const SqliteStatement& row, int first) {
    const auto r = channel(row, first);
    const auto g = channel(row, first + 1);
    const auto b = channel(row, first + 2);
    if (!r || !g || !b)
        return std::nullopt;
    return Rgb{*r, *g, *b};
}

void bindChannels(SqliteStatement& insert, int first, Rgb c) {
    insert.bind(first, sqlite3_int64(c.red));
    insert.bind(first + 1, sqlite3_int64(c.green));
    insert.bind(first + 2, sqlite3_int64(c.blue));
}

} // namespace

StoredSchemes readStoredSchemes(SchemeFile& file) {
    StoredSchemes result;
    SqliteStatement all(file.handle(),
                        "SELECT \"Name\", \"Rot\", \"Grün\", \"Blau\", \"Roth\", \"Grünh\", "
                        "\"Blauh\" FROM Farbtabelle ORDER BY rowid");
    if (!all.isValid()) {
        result.error = engineMessage(file.handle());
        return result;
    }
    int rc;
    while ((rc = all.step()) == SQLITE_ROW) {
        const QVariant name = all.column(0);
        const auto text = colour(all, 1);
        const auto background = colour(all, 4);
        if (name.isNull() || !text || !background) {
            ++result.incomplete;
            continue;
        }
        result.schemes.push_back({name.toString(), *text, *background});
    }
    if (rc != SQLITE_DONE) {
        result.error = engineMessage(file.handle());
        result.schemes.clear();
        result.incomplete = 0;
    }
    return result;
}

std::optional<QString> addSchemes(SchemeFile& file, const std::vector<ColourScheme>& schemes) {
    sqlite3* db = file.handle();
    const auto failure = [db] {
        const QString message = engineMessage(db);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return message;
    };
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return engineMessage(db);
    {
        SqliteStatement insert(db, "INSERT INTO Farbtabelle (\"Name\", \"Rot\", \"Grün\", "
                                   "\"Blau\", \"Roth\", \"Grünh\", \"Blauh\") VALUES (?1, ?2, "
                                   "?3, ?4, ?5, ?6, ?7)");
        if (!insert.isValid())
            return failure();
        for (const ColourScheme& scheme : schemes) {
            insert.bind(1, QVariant(scheme.name));
            bindChannels(insert, 2, scheme.text);
            bindChannels(insert, 5, scheme.background);
            const int rc = insert.step();
            if (rc != SQLITE_DONE)
                return failure();
            insert.reset();
        }
    }
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return failure();
    return std::nullopt;
}

} // namespace pigmora
