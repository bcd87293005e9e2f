#include "ordered_json.h"

#include "base/german_locale.h"
#include "base/hex_digit.h"

#include <QUtf8StringView>
#include <charconv>
#include <cstring>

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

void OrderedJson::skipBlanks() {
    const char* d = doc_->constData();
    while (pos_ < doc_->size() && isBlank(d[pos_]))
        ++pos_;
}

bool OrderedJson::parse(const QByteArray& utf8, QJsonParseError& error) {
    doc_ = &utf8;
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
    ++pos_; // the quote
    const qsizetype start = pos_;
    bool high = false;
    while (pos_ < size && d[pos_] != '"') {
        const auto c = static_cast<unsigned char>(d[pos_]);
        if (c < 0x20)
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
                return fail(QJsonParseError::IllegalEscapeSequence);
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
                if (pos_ >= size || d[pos_] != '"')
                    return fail(pos_ >= size ? QJsonParseError::UnterminatedObject
                                             : QJsonParseError::IllegalValue);
                nodes_[child].at = quint32(pos_ + 1) | isMember;
                if (!string())
                    return false;
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
                continue;
            }
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
    if (c == '"') {
        set(Kind::String);
        return string();
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
    // A number as JSON writes it: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    const qsizetype start = pos_;
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
        if (!digits())
            return fail(pos_ >= size ? QJsonParseError::TerminationByNumber
                                     : QJsonParseError::IllegalNumber);
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
    set(Kind::Number);
    return true;
}

// The closing quote of the string whose text starts at `start`, or, at most `maxBytes` on,
// where the text is cut: never inside an escape or a UTF-8 sequence.
qsizetype OrderedJson::stringEnd(qsizetype start, qsizetype maxBytes) const {
    const char* d = doc_->constData();
    qsizetype i = start;
    while (d[i] != '"') { // the parse found the closing quote
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
    i = stringEnd(i, doc_->size()) + 1;
    while (isBlank(d[i]) || d[i] == ':')
        ++i;
    return i;
}

double OrderedJson::number(Index node) const {
    const char* d = doc_->constData();
    double number = 0;
    std::from_chars(d + valueAt(node), d + doc_->size(), number); // as the parse read it
    return number;
}

QString OrderedJson::numberText(Index node, qsizetype limit) const {
    const char* d = doc_->constData();
    const qsizetype start = valueAt(node);
    qsizetype end = start;
    const auto inNumber = [](char c) {
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
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
        case 'u': {
            char16_t unit = 0;
            for (int k = 1; k <= 4; ++k)
                unit = char16_t(unit * 16 + hexDigit(uchar(d[i + k])));
            out += QChar(unit); // a surrogate pair comes as two escapes, one unit each
            i += 4;
            break;
        }
        default: // " \ /
            out += QLatin1Char(e);
        }
        plain = i + 1;
    }
    if (plain == start)
        return QString::fromUtf8(d + start, end - start);
    out += QString::fromUtf8(d + plain, end - plain);
    return out;
}

QString OrderedJson::text(Index node) const {
    const qsizetype start = valueAt(node) + 1;
    return decode(start, stringEnd(start, doc_->size()));
}

QString OrderedJson::name(Index node) const {
    const qsizetype start = nodes_[node].at & placeMask;
    return decode(start, stringEnd(start, doc_->size()));
}

QString OrderedJson::name(Index node, qsizetype limit) const {
    const qsizetype start = nodes_[node].at & placeMask;
    // A UTF-16 unit takes at most six bytes of the document (an escape).
    const qsizetype end = stringEnd(start, 6 * limit + 6);
    QString name = decode(start, end);
    if (doc_->at(end) == '"' && name.size() <= limit)
        return name;
    name.truncate(name.size() > limit && name.at(limit).isLowSurrogate() ? limit - 1 : limit);
    return name + QChar(0x2026);
}

QByteArray OrderedJson::nameUtf8(Index node) const {
    const qsizetype start = nodes_[node].at & placeMask;
    const qsizetype end = stringEnd(start, doc_->size());
    if (std::memchr(doc_->constData() + start, '\\', size_t(end - start)))
        return name(node).toUtf8();
    return QByteArray::fromRawData(doc_->constData() + start, end - start);
}

// The text from `start` to its closing quote is `utf8`.
bool OrderedJson::sameText(qsizetype start, QByteArrayView utf8) const {
    const char* d = doc_->constData() + start;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (d[i] == '\\') // an escape may stand for any character: the text decoded
            return decode(start, stringEnd(start, doc_->size())).toUtf8() == utf8;
        if (d[i] == '"' || d[i] != utf8[i])
            return false; // the text is shorter, or another
    }
    return d[utf8.size()] == '"';
}

bool OrderedJson::nameIs(Index node, QByteArrayView utf8) const {
    return nodes_[node].at & isMember && sameText(nodes_[node].at & placeMask, utf8);
}

bool OrderedJson::textIs(Index node, QByteArrayView utf8) const {
    return kind(node) == Kind::String && sameText(valueAt(node) + 1, utf8);
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

} // namespace pigmora
