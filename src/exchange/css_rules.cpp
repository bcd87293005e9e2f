#include "css_colour/css_colour.h"
#include "export_writers.h"

#include <QTextStream>

namespace pigmora {

QString cssEscapedIdentifierPart(const QString& text) {
    QString out;
    for (const char32_t c : text.toUcs4()) {
        if (c == 0) {
            out += QChar(0xFFFD);
        } else if (c < 0x20 || c == 0x7F) {
            out += QStringLiteral("\\%1 ").arg(uint(c), 0, 16);
        } else if (c >= 0x80 || c == '-' || c == '_' || (c >= '0' && c <= '9') ||
                   (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            out += QString::fromUcs4(&c, 1);
        } else {
            out += QLatin1Char('\\') + QChar(char16_t(c));
        }
    }
    return out;
}

namespace {

// The blanks that split HTML's class attribute into classes.
bool isHtmlSpace(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\f') || c == QLatin1Char('\r');
}

// The scheme's name in a comment: on one line, and never closing the comment early.
QString commentText(const QString& name) {
    QString text;
    text.reserve(name.size());
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            text += QLatin1Char(' ');
        else if (c == QLatin1Char('/') && text.endsWith(QLatin1Char('*')))
            text += QStringLiteral(" /");
        else
            text += c;
    }
    return text;
}

} // namespace

QString withoutHtmlSpaces(const QString& name) {
    QString out;
    out.reserve(name.size());
    bool pending = false;
    for (const QChar c : name) {
        if (isHtmlSpace(c)) {
            pending = !out.isEmpty();
            continue;
        }
        if (pending)
            out += QLatin1Char('-');
        pending = false;
        out += c;
    }
    return out;
}

QStringList cssClassNames(const std::vector<ColourScheme>& schemes) {
    return distinctNames(schemes, [](const QString& name) {
        return QStringLiteral("farbschema-") + cssEscapedIdentifierPart(withoutHtmlSpaces(name));
    });
}

QByteArray writeCss(const std::vector<ColourScheme>& schemes, const ExportStamp& stamp) {
    const QStringList classes = cssClassNames(schemes);
    QString css;
    QTextStream out(&css);
    // Names may hold any character; the file says how it is encoded.
    out << "@charset \"UTF-8\";\n/* " << stampText(stamp) << " */\n\n:root {\n";
    for (std::size_t i = 0; i < schemes.size(); ++i)
        out << "  --" << classes[qsizetype(i)] << "-text: " << hashHexText(schemes[i].text)
            << ";\n  --" << classes[qsizetype(i)]
            << "-background: " << hashHexText(schemes[i].background) << ";\n";
    out << "}\n";
    for (std::size_t i = 0; i < schemes.size(); ++i)
        out << "\n/* " << commentText(schemes[i].name) << " */\n." << classes[qsizetype(i)]
            << " {\n  color: " << hashHexText(schemes[i].text)
            << ";\n  background-color: " << hashHexText(schemes[i].background) << ";\n}\n";
    out.flush();
    return css.toUtf8();
}

} // namespace pigmora
