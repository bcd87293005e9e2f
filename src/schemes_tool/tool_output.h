#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace pigmora {

// Exit statuses of pigmora-schemes.
enum class ToolExit {
    Done = 0,    // the command did what it was asked
    Refused = 1, // an import refused entries (nothing imported), a check found failing pairs
    Failed = 2,  // wrong command line, or a file that cannot be read or written
};

// Where the tool writes: what a command produces goes to standard output, messages (errors,
// notes, summaries) to standard error. Both in UTF-8, lines ending in a line feed.
class ToolOutput {
public:
    ToolOutput(QIODevice& out, QIODevice& err)
        : out_(out)
        , err_(err) {}

    void write(const QByteArray& bytes);
    void line(const QString& text);
    void message(const QString& text);
    // Lines for standard error already in UTF-8, each ending in a line feed.
    void messages(const QByteArray& lines);

    // Writes out what is still buffered. False when anything written to standard output did not
    // arrive (a full disk, say); `error` then says why, in German.
    bool finish();
    QString error() const;

private:
    void writePending();
    void noteFailure(); // keeps the error number of the first failure

    QIODevice& out_;
    QIODevice& err_;
    QString pending_; // lines not yet converted, so a long list is converted in a few pieces
    bool failed_ = false;
    int errorNumber_ = 0;
};

} // namespace pigmora
