#pragma once

#include "sqlite_statement.h"

#include <QString>
#include <QVariant>
#include <array>
#include <optional>
#include <vector>

namespace pigmora {

class SchemeFile;

// The fields of a scheme record, in their stored order.
inline const std::array<QString, 7> schemeFields = {
    QStringLiteral("Name"), QStringLiteral("Rot"),   QStringLiteral("Grün"), QStringLiteral("Blau"),
    QStringLiteral("Roth"), QStringLiteral("Grünh"), QStringLiteral("Blauh")};

// A cursor directly on the scheme table, walking the records in stored order (the order they
// were added). It is the only way the program reads or changes the table. Operations that can
// fail say so in their result; nothing throws.
//
// Records are fetched in batches of row ids and names; the channels of a record are read only
// when asked for. No statement stays open between calls, so another program on the same file is
// never locked out by an idle cursor.
class TableCursor {
public:
    // Prepares the statements; fails (isValid() false, error() set) when the table lacks one of
    // the fields.
    explicit TableCursor(SchemeFile& file);

    bool isValid() const { return error_.isEmpty(); }
    // The engine's message for the last failed operation.
    const QString& error() const { return error_; }

    // Moves to the first record; false when the table is empty.
    bool moveFirst();
    // Moves to the record after the current one (also after a deleted one); false when there is
    // none.
    bool moveNext();
    // The number of records in the table at this moment.
    std::optional<qint64> recordCount();
    // A field of the current record by name; a null QVariant when the field has no value.
    // Empty when there is no current record or the field does not exist.
    std::optional<QVariant> field(const QString& name);

    // Begins a new record with every field empty.
    void addNew();
    // Sets a field of the new record.
    bool setField(const QString& name, const QVariant& value);
    // Saves the new record; false (and nothing saved) when the engine refuses it.
    bool update();
    // Deletes the current record.
    bool deleteCurrent();

private:
    struct Row {
        qint64 rowid;
        QVariant name;
    };
    bool fetchAfter(qint64 rowid);
    bool fail();
    const Row* current() const;
    // Drops the channels read for the last record. They are kept only while the cursor stays
    // on that record: a row id is reused once the last record is deleted.
    void forgetChannels() { loadedRecord_ = -1; }

    SchemeFile& file_;
    SqliteStatement batch_;
    SqliteStatement record_;
    SqliteStatement count_;
    SqliteStatement insert_;
    SqliteStatement delete_;
    std::vector<Row> rows_;
    std::size_t position_ = 0;
    bool currentDeleted_ = false;
    qint64 loadedRecord_ = -1;
    std::array<QVariant, 6> channels_;
    std::optional<std::array<QVariant, 7>> newRecord_;
    QString error_;
};

} // namespace pigmora
