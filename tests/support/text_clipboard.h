#pragma once

#include "app/clipboard.h"

namespace pigmora::test {

// A clipboard of the test's own: it holds what was put on it, or what the test put there.
class TextClipboard : public Clipboard {
public:
    QString value;
    bool setText(const QString& text) override {
        value = text;
        return true;
    }
    QString text() const override { return value; }
};

} // namespace pigmora::test
