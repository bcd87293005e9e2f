#include "css_tokens.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>

namespace pigmora::css {

namespace {

bool isWhitespace(char16_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool isDigit(char16_t c) {
    return c >= '0' && c <= '9';
}
bool isNameStart(char16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}
bool isName(char16_t c) {
    return isNameStart(c) || isDigit(c) || c == '-';
}
bool isNewline(char16_t c) {
    return c == '\n' || c == '\r' || c == '\f';
}
bool isHexDigit(char16_t c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
int hexValue(char16_t c) {
    return isDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
}

class Reader {
public:
    explicit Reader(QStringView text)
        : text_(text) {}

    qsizetype pos = 0;
    bool atEnd() const { return pos >= text_.size(); }
    char16_t at(qsizetype offset = 0) const {
        const qsizetype i = pos + offset;
        return i < text_.size() ? text_[i].unicode() : char16_t(0);
    }
    QStringView from(qsizetype start) const { return text_.mid(start, pos - start); }

    // A backslash not followed by a line break starts an escape (at the end of the text too,
    // where it stands for U+FFFD).
    bool startsEscape(qsizetype offset = 0) const {
        return at(offset) == '\\' && !isNewline(at(offset + 1));
    }
    bool escapeAt(qsizetype offset) const {
        return pos + offset < text_.size() && startsEscape(offset);
    }
    bool startsIdent(qsizetype offset = 0) const {
        if (at(offset) == '-')
            return isNameStart(at(offset + 1)) || at(offset + 1) == '-' || escapeAt(offset + 1);
        return isNameStart(at(offset)) || escapeAt(offset);
    }
    bool atNameCharacter() const { return isName(at()) || escapeAt(0); }
    bool startsNumber() const {
        const char16_t c = at();
        if (c == '+' || c == '-')
            return isDigit(at(1)) || (at(1) == '.' && isDigit(at(2)));
        if (c == '.')
            return isDigit(at(1));
        return isDigit(c);
    }
    void skipDigits() {
        while (isDigit(at()))
            ++pos;
    }
    // After a backslash that starts an escape: the code point it stands for, read as CSS reads
    // it (up to six hexadecimal digits and one blank after them, or the character itself; zero,
    // a surrogate, a value beyond Unicode and the end of the text give U+FFFD).
    char32_t readEscape() {
        ++pos; // the backslash
        if (atEnd())
            return 0xFFFD;
        if (!isHexDigit(at())) {
            const char16_t c = at();
            ++pos;
            if (QChar::isHighSurrogate(c) && QChar::isLowSurrogate(at()))
                return QChar::surrogateToUcs4(c, text_[pos++].unicode());
            return c;
        }
        char32_t value = 0;
        for (int digits = 0; digits < 6 && isHexDigit(at()); ++digits, ++pos)
            value = value * 16 + char32_t(hexValue(at()));
        if (at() == '\r' && at(1) == '\n')
            pos += 2;
        else if (isWhitespace(at()))
            ++pos;
        if (value == 0 || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
            return 0xFFFD;
        return value;
    }

    // Reads a name (an identifier, a unit, a hash's value) from here, escapes included: as
    // written where it has none, else read into `list`'s room for names.
    QStringView readName(TokenList& list) {
        const qsizetype start = pos;
        bool escaped = false;
        while (atNameCharacter()) {
            if (at() == '\\') {
                escaped = true;
                readEscape();
            } else {
                ++pos;
            }
        }
        const QStringView written = from(start);
        if (!escaped)
            return written;
        const std::size_t first = list.namesUsed;
        std::size_t used = first;
        Reader name(written);
        while (!name.atEnd()) {
            const char32_t c =
                name.at() == '\\' ? name.readEscape() : name.text_[name.pos++].unicode();
            const std::size_t units = c > 0xFFFF ? 2 : 1;
            if (used + units > list.names.size())
                return written; // no room left: the name stays as written, naming nothing
            if (units == 2) {
                list.names[used++] = QChar::highSurrogate(c);
                list.names[used++] = QChar::lowSurrogate(c);
            } else {
                list.names[used++] = char16_t(c);
            }
        }
        list.namesUsed = used;
        return QStringView(list.names.data() + first, qsizetype(used - first));
    }

    // Whitespace and comments; an unclosed comment runs to the end, as in CSS.
    void skipBlanks() {
        for (;;) {
            if (isWhitespace(at())) {
                ++pos;
            } else if (at() == '/' && at(1) == '*') {
                const qsizetype end = text_.indexOf(u"*/", pos + 2);
                pos = end < 0 ? text_.size() : end + 2;
            } else {
                return;
            }
        }
    }

private:
    QStringView text_;
};

// The value of a number token (already checked to follow the CSS grammar), read
// locale-independently. Beyond the range of a double it is an infinity; below it, zero.
double numberValue(QStringView text) {
    std::string ascii;
    ascii.reserve(std::size_t(text.size()));
    bool negative = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = char(text[i].unicode());
        if (i == 0 && (c == '+' || c == '-'))
            negative = c == '-';
        else
            ascii += c;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // The decimal exponent of the first significant digit tells overflow from underflow.
        long long exponent = 0;
        const std::size_t e = ascii.find_first_of("eE");
        if (e != std::string::npos)
            exponent =
                std::clamp(std::strtoll(ascii.c_str() + e + 1, nullptr, 10), -1000000LL, 1000000LL);
        const std::string mantissa = ascii.substr(0, e);
        const std::size_t point = mantissa.find('.');
        const std::size_t first = mantissa.find_first_not_of("0.");
        const long long integerDigits =
            (long long)(point == std::string::npos ? mantissa.size() : point);
        const long long firstDigit = (long long)first;
        const long long magnitude =
            exponent + (firstDigit < integerDigits ? integerDigits - firstDigit
                                                   : -(firstDigit - integerDigits - 1));
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace

TokenList::TokenList(QStringView text) {
    TokenList& list = *this;
    list.source = text;
    Reader r(text);
    for (r.skipBlanks(); !r.atEnd(); r.skipBlanks()) {
        if (list.count == maxTokens) {
            list.tooMany = true;
            break;
        }
        Token& t = list.tokens[std::size_t(list.count++)];
        const qsizetype start = r.pos;
        const char16_t c = r.at();
        if (r.startsNumber()) {
            if (c == '+' || c == '-')
                ++r.pos;
            r.skipDigits();
            if (r.at() == '.' && isDigit(r.at(1))) {
                ++r.pos;
                r.skipDigits();
            }
            if ((r.at() == 'e' || r.at() == 'E') &&
                (isDigit(r.at(1)) || ((r.at(1) == '+' || r.at(1) == '-') && isDigit(r.at(2))))) {
                r.pos += 2;
                r.skipDigits();
            }
            t.value = numberValue(r.from(start));
            if (r.startsIdent()) {
                t.type = TokenType::Dimension;
                t.name = r.readName(list);
            } else if (r.at() == '%') {
                ++r.pos;
                t.type = TokenType::Percentage;
            } else {
                t.type = TokenType::Number;
            }
        } else if (r.startsIdent()) {
            t.name = r.readName(list);
            t.type = TokenType::Ident;
            if (r.at() == '(') {
                ++r.pos;
                t.type = TokenType::Function;
            }
        } else if (c == '#' && (isName(r.at(1)) || r.escapeAt(1))) {
            ++r.pos;
            t.type = TokenType::Hash;
            t.name = r.readName(list);
        } else {
            ++r.pos;
            switch (c) {
            case ',':
                t.type = TokenType::Comma;
                break;
            case '/':
                t.type = TokenType::Slash;
                break;
            case '(':
                t.type = TokenType::OpenParen;
                break;
            case ')':
                t.type = TokenType::CloseParen;
                break;
            default:
                // One whole character, so a message never shows half a surrogate pair.
                if (QChar::isHighSurrogate(c) && QChar::isLowSurrogate(r.at()))
                    ++r.pos;
                t.type = TokenType::Delim;
            }
        }
        t.text = r.from(start);
    }
}

} // namespace pigmora::css
