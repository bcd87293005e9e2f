#include "scheme_store.h"

#include <QDir>

namespace pigmora {

QStringList SchemeStore::open(const QString& directory) {
    strpfad_ = QDir(directory).filePath(QString::fromLatin1(schemeFileName));
    auto file = SchemeFile::openOrCreate(strpfad_);
    auto cursor = std::make_unique<TableCursor>(*file);
    if (!cursor->isValid()) {
        const QString message = cursor->error();
        cursor.reset();
        file.reset();
        throw SchemeFileError(QStringLiteral("Die Farbdatei kann nicht geöffnet werden:\n%1\n\n"
                                             "Meldung der Datenbank: %2\n\nDie Datei bleibt "
                                             "unverändert.")
                                  .arg(QDir::toNativeSeparators(strpfad_), message));
    }
    dbsfarben_ = std::move(file);
    rstfarben_ = std::move(cursor);

    // From here on a failing step is skipped: an empty table lists nothing, a record without a
    // name is left out.
    QStringList names;
    rstfarben_->moveFirst();
    const qint64 count = rstfarben_->recordCount().value_or(0);
    for (qint64 i = 0; i < count; ++i) {
        if (const auto name = rstfarben_->field(QStringLiteral("Name")); name && !name->isNull())
            names.append(name->toString());
        rstfarben_->moveNext();
    }
    return names;
}

void SchemeStore::close() {
    rstfarben_.reset();
    if (dbsfarben_)
        dbsfarben_->close();
    dbsfarben_.reset();
}

} // namespace pigmora
