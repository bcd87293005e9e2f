#include "ordered_json.h"

#include "base/german_locale.h"
#include "base/hex_digit.h"

#include <QRegularExpression>
#include <QUtf8StringView>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>

namespace pigmora {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

bool OrderedJson::fail(QJsonParseError::ParseError what) {
    error_.error = what;
    error_.offset = int(pos_);
    return false;
}

bool OrderedJson::json5Only(const char* feature) {
    if (grammar_ == Grammar::Json)
        json5Feature_ = QString::fromUtf8(feature);
    return fail(QJsonParseError::IllegalValue);
}

// Blanks, and in JSON5 comments and its further blanks, from `i` on.
qsizetype OrderedJson::skipBlanksFrom(qsizetype i) const {
    const char* d = doc_->constData();
    const qsizetype size = doc_->size();
    for (;;) {
        while (i < size && isBlank(d[i]))
            ++i;
        if (grammar_ == Grammar::Json || i >= size)
            return i;
        const auto u = static_cast<unsigned char>(d[i]);
        if (d[i] == '\v' || d[i] == '\f') {
            ++i;
        } else if (u == 0xC2 && i + 1 < size && static_cast<unsigned char>(d[i + 1]) == 0xA0) {
            i += 2; // no-break space
        } else if (u == 0xE2 && i + 2 < size && static_cast<unsigned char>(d[i + 1]) == 0x80 &&
                   (static_cast<unsigned char>(d[i + 2]) == 0xA8 ||
                    static_cast<unsigned char>(d[i + 2]) == 0xA9)) {
            i += 3; // line and paragraph separators
        } else if (u == 0xEF && i + 2 < size && static_cast<unsigned char>(d[i + 1]) == 0xBB &&
                   static_cast<unsigned char>(d[i + 2]) == 0xBF) {
            i += 3; // a byte order mark
        } else if (d[i] == '/' && i + 1 < size && d[i + 1] == '/') {
            while (i < size && d[i] != '\n')
                ++i;
        } else if (d[i] == '/' && i + 1 < size && d[i + 1] == '*') {
            const qsizetype end = doc_->indexOf("*/", i + 2);
            if (end < 0)
                return i; // told as an unclosed comment by the parse
            i = end + 2;
        } else {
            return i;
        }
    }
}

void OrderedJson::skipBlanks() {
    pos_ = skipBlanksFrom(pos_);
}

bool OrderedJson::parse(const QByteArray& utf8, QJsonParseError& error, Grammar grammar) {
    doc_ = &utf8;
    grammar_ = grammar;
    json5Feature_.clear();
    pos_ = utf8.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    error_ = {};
    tooManyValues_ = false;
    nodes_.clear();
    nodes_.emplace_back();
    bool ok = false;
    if (utf8.size() > qsizetype(placeMask)) {
        ok = fail(QJsonParseError::DocumentTooLarge);
    } else {
        skipBlanks();
        ok = value(0, 0);
        if (ok) {
            skipBlanks();
            if (pos_ < utf8.size())
                ok = fail(QJsonParseError::GarbageAtEnd);
        }
    }
    if (!ok)
        std::deque<Node>().swap(nodes_); // gives the memory back, which clear() need not
    error = ok ? QJsonParseError{} : error_;
    return ok;
}

// A string from its opening quote to after its closing one, checked.
bool OrderedJson::string() {
    const char* d = doc_->constData();
    const qsizetype size = doc_->size();
    const char quote = d[pos_];
    const bool json5 = grammar_ == Grammar::Json5;
    ++pos_; // the quote
    const qsizetype start = pos_;
    bool high = false;
    while (pos_ < size && d[pos_] != quote) {
        const auto c = static_cast<unsigned char>(d[pos_]);
        if (c < 0x20 && (!json5 || c == '\n' || c == '\r'))
            return fail(QJsonParseError::IllegalValue);
        if (c >= 0x80)
            high = true;
        if (c == '\\') {
            if (++pos_ >= size)
                break;
            switch (d[pos_]) {
            case '"':
            case '\\':
            case '/':
            case 'b':
            case 'f':
            case 'n':
            case 'r':
            case 't':
                break;
            case 'u':
                for (int i = 1; i <= 4; ++i)
                    if (pos_ + i >= size || hexDigit(uchar(d[pos_ + i])) < 0)
                        return fail(QJsonParseError::IllegalEscapeSequence);
                pos_ += 4;
                break;
            default:
                if (!json5) {
                    if (d[pos_] == '\'' || d[pos_] == 'x' || d[pos_] == '\n' || d[pos_] == '0')
                        return json5Only("Escape „\\x“, „\\0“, „\\'“ oder ein Zeilenende nach "
                                         "„\\“");
                    return fail(QJsonParseError::IllegalEscapeSequence);
                }
                if (d[pos_] == 'x') {
                    for (int i = 1; i <= 2; ++i)
                        if (pos_ + i >= size || hexDigit(uchar(d[pos_ + i])) < 0)
                            return fail(QJsonParseError::IllegalEscapeSequence);
                    pos_ += 2;
                } else if (d[pos_] >= '1' && d[pos_] <= '9') {
                    return fail(QJsonParseError::IllegalEscapeSequence);
                } else if (d[pos_] == '0' && pos_ + 1 < size && d[pos_ + 1] >= '0' &&
                           d[pos_ + 1] <= '9') {
                    return fail(QJsonParseError::IllegalEscapeSequence);
                } else if (static_cast<unsigned char>(d[pos_]) >= 0x80) {
                    high = true;
                }
            }
        }
        ++pos_;
    }
    if (pos_ >= size)
        return fail(QJsonParseError::UnterminatedString);
    ++pos_; // the closing quote
    if (high && !QUtf8StringView(d + start, pos_ - 1 - start).isValidUtf8()) {
        pos_ = start;
        return fail(QJsonParseError::IllegalUTF8String);
    }
    return true;
}

namespace {

bool startsIdentifier(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' ||
           static_cast<unsigned char>(c) >= 0x80 || c == '\\';
}

bool inIdentifier(char c) {
    return startsIdentifier(c) || (c >= '0' && c <= '9');
}

} // namespace

// An unquoted name of JSON5: letters, digits, "_" and "$", not starting with a digit.
bool OrderedJson::identifier() {
    const char* d = doc_->constData();
    const qsizetype size = doc_->size();
    const qsizetype start = pos_;
    while (pos_ < size && inIdentifier(d[pos_])) {
        if (d[pos_] == '\\') {
            if (pos_ + 5 >= size || d[pos_ + 1] != 'u')
                return fail(QJsonParseError::IllegalEscapeSequence);
            for (int i = 2; i <= 5; ++i)
                if (hexDigit(uchar(d[pos_ + i])) < 0)
                    return fail(QJsonParseError::IllegalEscapeSequence);
            pos_ += 6;
            continue;
        }
        ++pos_;
    }
    if (!QUtf8StringView(d + start, pos_ - start).isValidUtf8()) {
        pos_ = start;
        return fail(QJsonParseError::IllegalUTF8String);
    }
    return pos_ > start || fail(QJsonParseError::IllegalValue);
}

bool OrderedJson::value(Index node, int depth) {
    const char* d = doc_->constData();
    const qsizetype size = doc_->size();
    if (pos_ >= size)
        return fail(QJsonParseError::IllegalValue);
    // A member's node already holds where its name starts; any other holds where it starts.
    const auto set = [this, node, at = pos_](Kind kind, quint32 flags = 0) {
        Node& n = nodes_[node];
        n.at |= (n.at & isMember ? 0 : quint32(at)) | quint32(kind) << kindShift | flags;
    };
    const char c = d[pos_];
    if (c == '{' || c == '[') {
        if (depth >= maxDepth)
            return fail(QJsonParseError::DeepNesting);
        const bool object = c == '{';
        const char close = object ? '}' : ']';
        ++pos_;
        skipBlanks();
        if (pos_ < size && d[pos_] == close) {
            set(object ? Kind::Object : Kind::Array);
            ++pos_;
            return true;
        }
        set(object ? Kind::Object : Kind::Array, hasChildren);
        Index last = none;
        for (;;) {
            if (nodes_.size() >= maxValues) {
                tooManyValues_ = true;
                return fail(QJsonParseError::DocumentTooLarge);
            }
            const Index child = Index(nodes_.size());
            nodes_.emplace_back();
            if (last != none)
                nodes_[last].next = child;
            last = child;
            if (object) {
                if (pos_ >= size)
                    return fail(QJsonParseError::UnterminatedObject);
                const bool json5 = grammar_ == Grammar::Json5;
                if (d[pos_] == '"' || (d[pos_] == '\'' && json5)) {
                    nodes_[child].at = quint32(pos_ + 1) | isMember;
                    if (!string())
                        return false;
                } else if (json5 && startsIdentifier(d[pos_])) {
                    nodes_[child].at = quint32(pos_) | isMember;
                    if (!identifier())
                        return false;
                } else if (d[pos_] == '\'') {
                    return json5Only("Name in einfachen Anführungszeichen");
                } else if (startsIdentifier(d[pos_])) {
                    return json5Only("Name ohne Anführungszeichen");
                } else if (d[pos_] == '/') {
                    return json5Only("Kommentar");
                } else {
                    return fail(QJsonParseError::IllegalValue);
                }
                skipBlanks();
                if (pos_ >= size || d[pos_] != ':')
                    return fail(QJsonParseError::MissingNameSeparator);
                ++pos_;
                skipBlanks();
            }
            if (!value(child, depth + 1))
                return false;
            skipBlanks();
            if (pos_ < size && d[pos_] == ',') {
                ++pos_;
                skipBlanks();
                if (pos_ < size && d[pos_] == close) {
                    if (grammar_ == Grammar::Json)
                        return json5Only("Komma vor der schließenden Klammer");
                    ++pos_;
                    return true;
                }
                continue;
            }
            if (pos_ < size && d[pos_] == '/' && grammar_ == Grammar::Json)
                return json5Only("Kommentar");
            if (pos_ < size && d[pos_] == close) {
                ++pos_;
                return true;
            }
            if (pos_ >= size)
                return fail(object ? QJsonParseError::UnterminatedObject
                                   : QJsonParseError::UnterminatedArray);
            return fail(object ? QJsonParseError::UnterminatedObject
                               : QJsonParseError::MissingValueSeparator);
        }
    }
    if (c == '"' || (c == '\'' && grammar_ == Grammar::Json5)) {
        set(Kind::String);
        return string();
    }
    if (grammar_ == Grammar::Json) {
        if (c == '\'')
            return json5Only("Text in einfachen Anführungszeichen");
        if (c == '/')
            return json5Only("Kommentar");
    }
    for (const auto& [word, kind] : {std::pair{QByteArrayView("true"), Kind::True},
                                     std::pair{QByteArrayView("false"), Kind::False},
                                     std::pair{QByteArrayView("null"), Kind::Null}}) {
        if (QByteArrayView(d + pos_, size - pos_).startsWith(word)) {
            set(kind);
            pos_ += word.size();
            return true;
        }
    }
    if (!number())
        return false;
    set(Kind::Number);
    return true;
}

namespace {

// A number of JSON5 beyond JSON's: its value, or NaN for "NaN"; nullopt when it is none.
std::optional<double> json5Number(const char* d, qsizetype size, qsizetype& pos) {
    qsizetype i = pos;
    double sign = 1;
    if (i < size && (d[i] == '+' || d[i] == '-'))
        sign = d[i++] == '-' ? -1 : 1;
    const QByteArrayView rest(d + i, size - i);
    if (rest.startsWith("Infinity")) {
        pos = i + 8;
        return sign * std::numeric_limits<double>::infinity();
    }
    if (rest.startsWith("NaN")) {
        pos = i + 3;
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (rest.startsWith("0x") || rest.startsWith("0X")) {
        qsizetype k = i + 2;
        double value = 0;
        while (k < size && hexDigit(uchar(d[k])) >= 0)
            value = value * 16 + hexDigit(uchar(d[k++]));
        if (k == i + 2)
            return std::nullopt;
        pos = k;
        return sign * value;
    }
    // Digits with a point anywhere, or at either end, and an exponent.
    qsizetype k = i;
    QByteArray text;
    while (k < size && d[k] >= '0' && d[k] <= '9')
        text += d[k++];
    const bool whole = !text.isEmpty();
    bool fraction = false;
    if (k < size && d[k] == '.') {
        ++k;
        text += '.';
        while (k < size && d[k] >= '0' && d[k] <= '9') {
            text += d[k++];
            fraction = true;
        }
    }
    if (!whole && !fraction)
        return std::nullopt;
    if (k < size && (d[k] == 'e' || d[k] == 'E')) {
        text += 'e';
        ++k;
        if (k < size && (d[k] == '+' || d[k] == '-'))
            text += d[k++];
        const qsizetype digits = k;
        while (k < size && d[k] >= '0' && d[k] <= '9')
            text += d[k++];
        if (k == digits)
            return std::nullopt;
    }
    if (text.startsWith('.'))
        text.prepend('0');
    if (text.endsWith('.'))
        text.append('0');
    text.replace(".e", ".0e");
    double value = 0;
    const auto [end, result] =
        std::from_chars(text.constData(), text.constData() + text.size(), value);
    if (result != std::errc() || end != text.constData() + text.size())
        return std::nullopt;
    pos = k;
    return sign * value;
}

} // namespace

bool OrderedJson::number() {
    const char* d = doc_->constData();
    const qsizetype size = doc_->size();
    const qsizetype start = pos_;
    if (grammar_ == Grammar::Json5) {
        qsizetype at = pos_;
        if (!json5Number(d, size, at))
            return fail(QJsonParseError::IllegalValue);
        pos_ = at;
        return true;
    }
    {
        qsizetype at = pos_;
        const QByteArrayView rest(d + pos_, size - pos_);
        if (rest.startsWith('+') || rest.startsWith('.') || rest.startsWith("0x") ||
            rest.startsWith("0X") || rest.startsWith("-0x") || rest.startsWith("Infinity") ||
            rest.startsWith("-Infinity") || rest.startsWith("NaN")) {
            if (json5Number(d, size, at))
                return json5Only(rest.startsWith('+') || rest.startsWith('.')
                                     ? "Zahl mit „+“ oder einem Punkt am Anfang"
                                 : rest.contains(QByteArrayView("x")) ||
                                         rest.contains(QByteArrayView("X"))
                                     ? "Hexadezimale Zahl"
                                     : "Infinity oder NaN");
        }
    }
    // A number as JSON writes it: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    const auto digits = [&] {
        const qsizetype from = pos_;
        while (pos_ < size && d[pos_] >= '0' && d[pos_] <= '9')
            ++pos_;
        return pos_ > from;
    };
    if (pos_ < size && d[pos_] == '-')
        ++pos_;
    if (pos_ < size && d[pos_] == '0')
        ++pos_;
    else if (!digits())
        return fail(pos_ == start ? QJsonParseError::IllegalValue : QJsonParseError::IllegalNumber);
    if (pos_ < size && d[pos_] == '.') {
        ++pos_;
        if (!digits()) {
            if (pos_ < size && !(d[pos_] >= '0' && d[pos_] <= '9') && d[pos_] != 'e' &&
                d[pos_] != 'E')
                return json5Only("Zahl mit einem Punkt am Ende");
            return fail(pos_ >= size ? QJsonParseError::TerminationByNumber
                                     : QJsonParseError::IllegalNumber);
        }
    }
    if (pos_ < size && (d[pos_] == 'e' || d[pos_] == 'E')) {
        ++pos_;
        if (pos_ < size && (d[pos_] == '+' || d[pos_] == '-'))
            ++pos_;
        if (!digits())
            return fail(pos_ >= size ? QJsonParseError::TerminationByNumber
                                     : QJsonParseError::IllegalNumber);
    }
    double number = 0;
    const auto [end, result] = std::from_chars(d + start, d + pos_, number);
    if (result != std::errc() || end != d + pos_) {
        pos_ = start;
        return fail(QJsonParseError::IllegalNumber);
    }
    return true;
}

char OrderedJson::quoteOf(qsizetype start) const {
    if (grammar_ == Grammar::Json || start == 0)
        return '"';
    const char before = doc_->at(start - 1);
    return before == '"' || before == '\'' ? before : 0;
}

// The closing quote of the string whose text starts at `start` (for an unquoted name, where
// it ends), or, at most `maxBytes` on, where the text is cut: never inside an escape or a
// UTF-8 sequence.
qsizetype OrderedJson::stringEnd(qsizetype start, qsizetype maxBytes, char quote) const {
    const char* d = doc_->constData();
    const qsizetype size = doc_->size();
    qsizetype i = start;
    while (quote ? d[i] != quote : (i < size && inIdentifier(d[i]))) { // the parse found the end
        if (i - start >= maxBytes) {
            while (i > start && (static_cast<unsigned char>(d[i]) & 0xC0) == 0x80)
                --i;
            return i;
        }
        i += d[i] == '\\' ? (d[i + 1] == 'u' ? 6 : 2) : 1;
    }
    return i;
}

qsizetype OrderedJson::valueAt(Index node) const {
    const quint32 at = nodes_[node].at;
    qsizetype i = at & placeMask;
    if (!(at & isMember))
        return i;
    const char* d = doc_->constData();
    const char quote = quoteOf(i);
    i = stringEnd(i, doc_->size(), quote) + (quote ? 1 : 0);
    i = skipBlanksFrom(i);
    if (d[i] == ':')
        ++i;
    return skipBlanksFrom(i);
}

double OrderedJson::number(Index node) const {
    const char* d = doc_->constData();
    qsizetype at = valueAt(node);
    if (grammar_ == Grammar::Json5)
        return json5Number(d, doc_->size(), at).value_or(0);
    double number = 0;
    std::from_chars(d + at, d + doc_->size(), number); // as the parse read it
    return number;
}

QString OrderedJson::numberText(Index node, qsizetype limit) const {
    const char* d = doc_->constData();
    const qsizetype start = valueAt(node);
    qsizetype end = start;
    const auto inNumber = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
               c == '-' || c == '+' || c == '.';
    };
    while (end < doc_->size() && end - start <= limit && inNumber(d[end]))
        ++end;
    if (end - start <= limit)
        return QString::fromLatin1(d + start, end - start);
    return QString::fromLatin1(d + start, limit) + QChar(0x2026);
}

QString OrderedJson::decode(qsizetype start, qsizetype end) const {
    const char* d = doc_->constData();
    QString out;
    qsizetype plain = start; // start of the text since the last escape
    for (qsizetype i = start; i < end; ++i) {
        if (d[i] != '\\')
            continue;
        if (out.isEmpty())
            out.reserve(end - start);
        out += QString::fromUtf8(d + plain, i - plain);
        const char e = d[++i];
        switch (e) {
        case 'b':
            out += QLatin1Char('\b');
            break;
        case 'f':
            out += QLatin1Char('\f');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'v': // JSON5 from here on
            out += QLatin1Char('\v');
            break;
        case '0':
            out += QChar(0);
            break;
        case 'x':
            out += QChar(char16_t(hexDigit(uchar(d[i + 1])) * 16 + hexDigit(uchar(d[i + 2]))));
            i += 2;
            break;
        case '\r': // a line continued: no character
            if (i + 1 < end && d[i + 1] == '\n')
                ++i;
            break;
        case '\n':
            break;
        case 'u': {
            char16_t unit = 0;
            for (int k = 1; k <= 4; ++k)
                unit = char16_t(unit * 16 + hexDigit(uchar(d[i + k])));
            out += QChar(unit); // a surrogate pair comes as two escapes, one unit each
            i += 4;
            break;
        }
        default: { // " \ / and in JSON5 any other character as itself
            qsizetype length = 1;
            const auto u = static_cast<unsigned char>(e);
            if (u >= 0xF0)
                length = 4;
            else if (u >= 0xE0)
                length = 3;
            else if (u >= 0xC0)
                length = 2;
            const QString character = QString::fromUtf8(d + i, length);
            // U+2028 and U+2029 after a backslash continue the line.
            if (character != QChar(0x2028) && character != QChar(0x2029))
                out += character;
            i += length - 1;
        }
        }
        plain = i + 1;
    }
    if (plain == start)
        return QString::fromUtf8(d + start, end - start);
    out += QString::fromUtf8(d + plain, end - plain);
    return out;
}

QString OrderedJson::text(Index node) const {
    const qsizetype at = valueAt(node);
    const qsizetype start = at + 1;
    return decode(start, stringEnd(start, doc_->size(), doc_->at(at)));
}

QString OrderedJson::name(Index node) const {
    const qsizetype start = nodes_[node].at & placeMask;
    return decode(start, nameEnd(start, doc_->size()));
}

QString OrderedJson::name(Index node, qsizetype limit) const {
    const qsizetype start = nodes_[node].at & placeMask;
    // A UTF-16 unit takes at most six bytes of the document (an escape).
    const qsizetype end = nameEnd(start, 6 * limit + 6);
    QString name = decode(start, end);
    if (nameEnd(start, doc_->size()) == end && name.size() <= limit)
        return name;
    name.truncate(name.size() > limit && name.at(limit).isLowSurrogate() ? limit - 1 : limit);
    return name + QChar(0x2026);
}

QByteArray OrderedJson::nameUtf8(Index node) const {
    const qsizetype start = nodes_[node].at & placeMask;
    const qsizetype end = nameEnd(start, doc_->size());
    if (std::memchr(doc_->constData() + start, '\\', size_t(end - start)))
        return name(node).toUtf8();
    return QByteArray::fromRawData(doc_->constData() + start, end - start);
}

// The text from `start` to its end is `utf8`.
bool OrderedJson::sameText(qsizetype start, QByteArrayView utf8, char quote) const {
    const char* d = doc_->constData() + start;
    const qsizetype room = doc_->size() - start;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (i >= room)
            return false;
        if (d[i] == '\\') // an escape may stand for any character: the text decoded
            return decode(start, stringEnd(start, doc_->size(), quote)).toUtf8() == utf8;
        if ((quote && d[i] == quote) || d[i] != utf8[i])
            return false; // the text is shorter, or another
    }
    if (quote)
        return utf8.size() < room && d[utf8.size()] == quote;
    return utf8.size() >= room || !inIdentifier(d[utf8.size()]);
}

bool OrderedJson::nameIs(Index node, QByteArrayView utf8) const {
    if (!(nodes_[node].at & isMember))
        return false;
    const qsizetype start = nodes_[node].at & placeMask;
    return sameText(start, utf8, quoteOf(start));
}

bool OrderedJson::textIs(Index node, QByteArrayView utf8) const {
    if (kind(node) != Kind::String)
        return false;
    const qsizetype at = valueAt(node);
    return sameText(at + 1, utf8, doc_->at(at));
}

bool OrderedJson::nameStartsWith(Index node, char c) const {
    if (!(nodes_[node].at & isMember))
        return false;
    const qsizetype start = nodes_[node].at & placeMask;
    if (doc_->at(start) == '\\')
        return name(node, 1).startsWith(QLatin1Char(c));
    return doc_->at(start) == c;
}

OrderedJson::Index OrderedJson::member(Index object, QByteArrayView name) const {
    if (object == none || kind(object) != Kind::Object)
        return none;
    for (Index child = firstChild(object); child != none; child = next(child))
        if (nameIs(child, name))
            return child;
    return none;
}

QString jsonParseErrorText(const QJsonParseError& error) {
    QString what;
    switch (error.error) {
    case QJsonParseError::UnterminatedObject:
        what = QStringLiteral("ein Objekt ist nicht abgeschlossen");
        break;
    case QJsonParseError::MissingNameSeparator:
        what = QStringLiteral("nach einem Namen fehlt der Doppelpunkt");
        break;
    case QJsonParseError::UnterminatedArray:
        what = QStringLiteral("eine Liste ist nicht abgeschlossen");
        break;
    case QJsonParseError::MissingValueSeparator:
        what = QStringLiteral("zwischen zwei Werten fehlt das Komma");
        break;
    case QJsonParseError::IllegalValue:
        what = QStringLiteral("ein Wert ist ungültig");
        break;
    case QJsonParseError::TerminationByNumber:
        what = QStringLiteral("die Datei endet mitten in einer Zahl");
        break;
    case QJsonParseError::IllegalNumber:
        what = QStringLiteral("eine Zahl ist ungültig");
        break;
    case QJsonParseError::IllegalEscapeSequence:
        what = QStringLiteral("ein Escape mit \\ ist ungültig");
        break;
    case QJsonParseError::IllegalUTF8String:
        what = QStringLiteral("ein Text ist kein gültiges UTF-8");
        break;
    case QJsonParseError::UnterminatedString:
        what = QStringLiteral("ein Text ist nicht abgeschlossen");
        break;
    case QJsonParseError::MissingObject:
        what = QStringLiteral("es fehlt ein Objekt oder eine Liste");
        break;
    case QJsonParseError::DeepNesting:
        what = QStringLiteral("die Werte sind mehr als %1 Ebenen tief verschachtelt")
                   .arg(germanNumber(OrderedJson::maxDepth));
        break;
    case QJsonParseError::DocumentTooLarge:
        what = QStringLiteral("die Datei ist zu groß");
        break;
    case QJsonParseError::GarbageAtEnd:
        what = QStringLiteral("nach dem Ende stehen weitere Zeichen");
        break;
    case QJsonParseError::NoError:
        break;
    }
    return QStringLiteral("Die Datei ist kein gültiges JSON: %1 (bei Zeichen %2).")
        .arg(what)
        .arg(error.offset);
}

QString jsonParseErrorText(const QJsonParseError& error, const QByteArray& contents,
                           const OrderedJson& reader, OrderedJson::Grammar grammar) {
    const qsizetype offset = std::min<qsizetype>(error.offset, contents.size());
    const qsizetype lineStart = contents.lastIndexOf('\n', offset - 1) + 1;
    const qsizetype line = contents.left(offset).count('\n') + 1;
    const qsizetype column =
        QString::fromUtf8(contents.constData() + lineStart, offset - lineStart).size() + 1;
    QString text = jsonParseErrorText(error);
    const QString where = QStringLiteral("(Zeile %1, Spalte %2)").arg(line).arg(column);
    text.replace(QRegularExpression(QStringLiteral("\\(bei Zeichen [0-9]+\\)")), where);
    if (grammar == OrderedJson::Grammar::Json5)
        text.replace(QStringLiteral("kein gültiges JSON:"), QStringLiteral("kein gültiges JSON5:"));
    if (!reader.json5Feature().isEmpty())
        text = QStringLiteral("Die Datei ist kein gültiges JSON: %1: erlaubt nur in JSON5-Dateien "
                              "(.json5) %2.")
                   .arg(reader.json5Feature(), where);
    return text;
}

} // namespace pigmora
