#include "table_cursor.h"

#include "scheme_file.h"

#include <limits>

namespace pigmora {

namespace {
constexpr int batchSize = 1024;

int fieldIndex(const QString& name) {
    for (int i = 0; i < int(schemeFields.size()); ++i)
        if (schemeFields[i] == name)
            return i;
    return -1;
}
} // namespace

TableCursor::TableCursor(SchemeFile& file)
    : file_(file) {
    const auto prepare = [this](const char* sql) {
        SqliteStatement statement(file_.handle(), sql);
        if (!statement.isValid() && error_.isEmpty())
            fail();
        return statement;
    };
    batch_ = prepare("SELECT rowid, \"Name\" FROM Farbtabelle WHERE rowid > ?1 ORDER BY rowid "
                     "LIMIT ?2");
    record_ = prepare("SELECT \"Rot\", \"Grün\", \"Blau\", \"Roth\", \"Grünh\", \"Blauh\" "
                      "FROM Farbtabelle WHERE rowid = ?1");
    count_ = prepare("SELECT count(*) FROM Farbtabelle");
    insert_ = prepare("INSERT INTO Farbtabelle (\"Name\", \"Rot\", \"Grün\", \"Blau\", \"Roth\", "
                      "\"Grünh\", \"Blauh\") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    delete_ = prepare("DELETE FROM Farbtabelle WHERE rowid = ?1");
}

bool TableCursor::fail() {
    error_ = engineMessage(file_.handle());
    return false;
}

bool TableCursor::fetchAfter(qint64 rowid) {
    rows_.clear();
    position_ = 0;
    currentDeleted_ = false;
    forgetChannels(); // a new walk reads every record afresh
    batch_.bind(1, sqlite3_int64(rowid));
    batch_.bind(2, sqlite3_int64(batchSize));
    int rc;
    while ((rc = batch_.step()) == SQLITE_ROW)
        rows_.push_back({batch_.integer(0), batch_.column(1)});
    const bool ok = rc == SQLITE_DONE;
    if (!ok)
        fail();
    batch_.reset();
    if (!ok)
        rows_.clear();
    return !rows_.empty();
}

const TableCursor::Row* TableCursor::current() const {
    if (currentDeleted_ || position_ >= rows_.size())
        return nullptr;
    return &rows_[position_];
}

bool TableCursor::moveFirst() {
    return fetchAfter(std::numeric_limits<qint64>::min());
}

bool TableCursor::moveNext() {
    if (position_ >= rows_.size())
        return false; // already past the end
    const qint64 last = rows_.back().rowid;
    ++position_;
    currentDeleted_ = false;
    if (position_ < rows_.size())
        return true;
    return int(rows_.size()) == batchSize && fetchAfter(last);
}

std::optional<qint64> TableCursor::recordCount() {
    std::optional<qint64> count;
    if (count_.step() == SQLITE_ROW)
        count = count_.integer(0);
    else
        fail();
    count_.reset();
    return count;
}

std::optional<QVariant> TableCursor::field(const QString& name) {
    const Row* row = current();
    const int index = fieldIndex(name);
    if (!row || index < 0)
        return std::nullopt;
    if (index == 0)
        return row->name;
    if (loadedRecord_ != row->rowid) {
        record_.bind(1, sqlite3_int64(row->rowid));
        const int rc = record_.step();
        if (rc == SQLITE_ROW)
            for (int i = 0; i < 6; ++i)
                channels_[i] = record_.column(i);
        record_.reset();
        if (rc != SQLITE_ROW) // gone meanwhile (another program) or unreadable
            return fail(), std::nullopt;
        loadedRecord_ = row->rowid;
    }
    return channels_[index - 1];
}

void TableCursor::addNew() {
    newRecord_.emplace();
}

bool TableCursor::setField(const QString& name, const QVariant& value) {
    const int index = fieldIndex(name);
    if (!newRecord_ || index < 0)
        return false;
    (*newRecord_)[index] = value;
    return true;
}

bool TableCursor::update() {
    if (!newRecord_)
        return false;
    for (int i = 0; i < 7; ++i)
        insert_.bind(i + 1, (*newRecord_)[i]);
    const bool ok = insert_.step() == SQLITE_DONE;
    if (!ok)
        fail();
    insert_.reset();
    newRecord_.reset();
    forgetChannels(); // the new record may carry the row id of one deleted before
    return ok;
}

bool TableCursor::deleteCurrent() {
    const Row* row = current();
    if (!row)
        return false;
    delete_.bind(1, sqlite3_int64(row->rowid));
    const bool ok = delete_.step() == SQLITE_DONE;
    if (!ok)
        fail();
    delete_.reset();
    if (ok) {
        currentDeleted_ = true;
        forgetChannels();
    }
    return ok;
}

} // namespace pigmora
