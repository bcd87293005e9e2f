#pragma once

#include <QString>
#include <memory>
#include <stdexcept>

struct sqlite3;

namespace pigmora {

inline constexpr char schemeFileName[] = "Farben.mdb";
inline constexpr char schemeTable[] = "Farbtabelle";

// Why the scheme file could not be opened or created, as a complete German message for the
// user (it names the file and carries the engine's own message and error number).
class SchemeFileError : public std::runtime_error {
public:
    explicit SchemeFileError(const QString& message)
        : std::runtime_error(message.toStdString())
        , message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// The open scheme file. Every change is committed and on disk (synchronous=FULL) when the
// statement that makes it returns; a second program on the same file waits for its turn
// instead of failing.
class SchemeFile {
public:
    // Opens the ordinary file at `path`, or, when nothing is there yet, creates it with the empty
    // table. Throws SchemeFileError when the file is not one the program can use; such a file
    // is left exactly as it was, and nothing else is created in its place.
    static std::unique_ptr<SchemeFile> openOrCreate(const QString& path);
    enum class Access { ReadWrite, ReadOnly };
    // Opens the ordinary file at `path` with the same checks, but never creates one: a missing
    // file is a SchemeFileError too. Read-only, nothing can be written through it.
    static std::unique_ptr<SchemeFile> openExisting(const QString& path, Access access);

    ~SchemeFile();
    SchemeFile(const SchemeFile&) = delete;
    SchemeFile& operator=(const SchemeFile&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }
    // Closes the file; statements must have been finalised. Throws SchemeFileError.
    void close();

    // Milliseconds a command waits for another program holding the file.
    static constexpr int busyTimeoutMs = 10000;

private:
    SchemeFile(sqlite3* db, QString path)
        : db_(db)
        , path_(std::move(path)) {}

    sqlite3* db_;
    QString path_;
};

} // namespace pigmora
