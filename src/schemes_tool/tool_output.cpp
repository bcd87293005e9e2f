#include "tool_output.h"

#include <QFileDevice>
#include <QIODevice>

namespace pigmora {

void ToolOutput::write(const QByteArray& bytes) {
    if (out_.write(bytes) != bytes.size())
        failed_ = true;
}

void ToolOutput::line(const QString& text) {
    write(text.toUtf8() + '\n');
}

void ToolOutput::message(const QString& text) {
    err_.write(text.toUtf8() + '\n');
}

bool ToolOutput::finish() {
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
