#include "tool_output.h"

#include "exchange/file_reasons.h"

#include <QFileDevice>
#include <QIODevice>
#include <cerrno>

namespace pigmora {

namespace {
constexpr qsizetype pendingLimit = 1 << 16;
}

void ToolOutput::writePending() {
    if (pending_.isEmpty())
        return;
    const QByteArray bytes = pending_.toUtf8();
    pending_.clear();
    write(bytes);
}

void ToolOutput::noteFailure() {
    if (!failed_)
        errorNumber_ = errno;
    failed_ = true;
}

void ToolOutput::write(const QByteArray& bytes) {
    if (!pending_.isEmpty())
        writePending();
    errno = 0;
    if (out_.write(bytes) != bytes.size())
        noteFailure();
}

void ToolOutput::line(const QString& text) {
    pending_ += text;
    pending_ += QLatin1Char('\n');
    if (pending_.size() >= pendingLimit)
        writePending();
}

void ToolOutput::message(const QString& text) {
    messages(text.toUtf8() + '\n');
}

void ToolOutput::messages(const QByteArray& lines) {
    writePending(); // in the order they were written, where both go to one terminal
    errno = 0;
    if (auto* file = qobject_cast<QFileDevice*>(&out_); file && !file->flush())
        noteFailure();
    err_.write(lines);
}

bool ToolOutput::finish() {
    writePending();
    errno = 0;
    if (auto* file = qobject_cast<QFileDevice*>(&out_); file && !file->flush())
        noteFailure();
    if (auto* file = qobject_cast<QFileDevice*>(&err_))
        file->flush();
    return !failed_;
}

QString ToolOutput::error() const {
    const auto* file = qobject_cast<const QFileDevice*>(&out_);
    return fileErrorReason(errorNumber_, file ? file->error() : QFileDevice::WriteError);
}

} // namespace pigmora
