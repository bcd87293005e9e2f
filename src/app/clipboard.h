#pragma once

#include <QString>

namespace pigmora {

// Plain text on the system clipboard.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Puts the text on the clipboard; false when it could not be written.
    virtual bool setText(const QString& text) = 0;
    virtual QString text() const = 0;
};

class SystemClipboard : public Clipboard {
public:
    bool setText(const QString& text) override;
    QString text() const override;
};

} // namespace pigmora
