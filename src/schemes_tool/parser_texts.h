#pragma once

#include <QTranslator>

namespace pigmora {

// The few texts QCommandLineParser writes itself (the headings of the help, its error messages)
// in German, whether or not Qt's own translations are installed.
class GermanParserTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override { return false; }
};

} // namespace pigmora
