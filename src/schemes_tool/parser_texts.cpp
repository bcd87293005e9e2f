#include "parser_texts.h"

#include <cstring>

namespace pigmora {

namespace {

struct ParserText {
    const char* source;
    const char* german;
};

// Qt's own texts, as QCommandLineParser passes them to tr().
constexpr ParserText parserTexts[] = {
    {"Usage: %1", "Aufruf: %1"},
    {"[options]", "[Optionen]"},
    {"Options:", "Optionen:"},
    {"Arguments:", "Argumente:"},
    {"Missing value after '%1'.", "Nach „%1“ fehlt ein Wert."},
    {"Unexpected value after '%1'.", "„%1“ nimmt keinen Wert an."},
};

} // namespace

QString GermanParserTexts::translate(const char* context, const char* sourceText,
                                     const char* /*disambiguation*/, int /*n*/) const {
    if (!context || !sourceText || std::strcmp(context, "QCommandLineParser") != 0)
        return {};
    for (const ParserText& text : parserTexts)
        if (std::strcmp(sourceText, text.source) == 0)
            return QString::fromUtf8(text.german);
    return {};
}

} // namespace pigmora
