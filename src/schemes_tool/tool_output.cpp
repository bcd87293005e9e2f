#include "tool_output.h"

#include <QFileDevice>
#include <QIODevice>

namespace pigmora {

namespace {
constexpr qsizetype pendingLimit = 1 << 16;
}

void ToolOutput::writePending() {
    if (pending_.isEmpty())
        return;
    const QByteArray bytes = pending_.toUtf8();
    pending_.clear();
    if (out_.write(bytes) != bytes.size())
        failed_ = true;
}

void ToolOutput::write(const QByteArray& bytes) {
    writePending();
    if (out_.write(bytes) != bytes.size())
        failed_ = true;
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
    if (auto* file = qobject_cast<QFileDevice*>(&out_))
        file->flush();
    err_.write(lines);
}

bool ToolOutput::finish() {
    writePending();
    if (auto* file = qobject_cast<QFileDevice*>(&out_)) {
        if (!file->flush())
            failed_ = true;
    }
    if (auto* file = qobject_cast<QFileDevice*>(&err_))
        file->flush();
    return !failed_;
}

QString ToolOutput::error() const {
    return out_.errorString();
}

} // namespace pigmora
