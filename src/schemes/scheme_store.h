#pragma once

#include "scheme_file.h"
#include "table_cursor.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace pigmora {

// The scheme file as the main window holds it from load to unload: its path, the open file
// and the table cursor.
class SchemeStore {
public:
    // The opening sequence: opens Farben.mdb in `directory` or creates it with the empty table,
    // opens the cursor, and returns the name of every record that has one, in stored order.
    // Throws SchemeFileError when the file cannot be used.
    QStringList open(const QString& directory);
    // Closes the file. Throws SchemeFileError.
    void close();

    bool isOpen() const { return dbsfarben_ != nullptr; }
    const QString& strpfad() const { return strpfad_; }
    TableCursor& rstfarben() { return *rstfarben_; }
    SchemeFile& dbsfarben() { return *dbsfarben_; }

private:
    QString strpfad_;
    std::unique_ptr<SchemeFile> dbsfarben_;
    std::unique_ptr<TableCursor> rstfarben_;
};

} // namespace pigmora
