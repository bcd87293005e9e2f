#include "ordered_json.h"

#include <QUtf8StringView>
#include <charconv>

namespace pigmora {

namespace {

// As deep as QJsonDocument reads.
constexpr int maxDepth = 1024;

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool OrderedJson::fail(QJsonParseError::ParseError what) {
    error_.error = what;
    error_.offset = int(pos_);
    return false;
}

void OrderedJson::skipBlanks() {
    const char* d = doc_->constData();
    while (pos_ < doc_->size() &&
           (d[pos_] == ' ' || d[pos_] == '\t' || d[pos_] == '\n' || d[pos_] == '\r'))
        ++pos_;
}

bool OrderedJson::parse(const QByteArray& utf8, QJsonParseError& error) {
    doc_ = &utf8;
    pos_ = utf8.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    error_ = {};
    nodes_.clear();
    nodes_.reserve(size_t(utf8.size() / 16) + 1); // about one value in 16 bytes of a token file
    nodes_.emplace_back();
    bool ok = false;
    if (utf8.size() >= qsizetype(none)) {
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
        nodes_.clear();
    error = ok ? QJsonParseError{} : error_;
    return ok;
}

// A string from its opening quote; `slice` gets its raw contents between the quotes.
bool OrderedJson::string(Slice& slice) {
    const char* d = doc_->constData();
    const qsizetype size = doc_->size();
    ++pos_; // the quote
    const qsizetype start = pos_;
    bool high = false;
    slice.escaped = false;
    while (pos_ < size && d[pos_] != '"') {
        const auto c = static_cast<unsigned char>(d[pos_]);
        if (c < 0x20)
            return fail(QJsonParseError::IllegalValue);
        if (c >= 0x80)
            high = true;
        if (c == '\\') {
            slice.escaped = true;
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
                    if (pos_ + i >= size || hexValue(d[pos_ + i]) < 0)
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
    slice.start = quint32(start);
    slice.length = quint32(pos_ - start);
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
    const char c = d[pos_];
    if (c == '{' || c == '[') {
        if (depth >= maxDepth)
            return fail(QJsonParseError::DeepNesting);
        const bool object = c == '{';
        nodes_[node].kind = object ? Kind::Object : Kind::Array;
        const char close = object ? '}' : ']';
        ++pos_;
        skipBlanks();
        if (pos_ < size && d[pos_] == close) {
            ++pos_;
            return true;
        }
        Index last = none;
        for (;;) {
            const Index child = Index(nodes_.size());
            nodes_.emplace_back();
            (last == none ? nodes_[node].firstChild : nodes_[last].next) = child;
            last = child;
            if (object) {
                if (pos_ >= size || d[pos_] != '"')
                    return fail(pos_ >= size ? QJsonParseError::UnterminatedObject
                                             : QJsonParseError::IllegalValue);
                Slice name;
                if (!string(name))
                    return false;
                nodes_[child].nameSlice = name;
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
        nodes_[node].kind = Kind::String;
        Slice text;
        if (!string(text))
            return false;
        nodes_[node].textSlice = text;
        return true;
    }
    for (const auto& [word, kind] : {std::pair{QByteArrayView("true"), Kind::True},
                                     std::pair{QByteArrayView("false"), Kind::False},
                                     std::pair{QByteArrayView("null"), Kind::Null}}) {
        if (QByteArrayView(d + pos_, size - pos_).startsWith(word)) {
            nodes_[node].kind = kind;
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
    nodes_[node].kind = Kind::Number;
    nodes_[node].number = number;
    return true;
}

QString OrderedJson::decode(const Slice& slice) const {
    const char* d = doc_->constData() + slice.start;
    if (!slice.escaped)
        return QString::fromUtf8(d, slice.length);
    QString out;
    out.reserve(slice.length);
    qsizetype plain = 0; // start of the text since the last escape
    for (qsizetype i = 0; i < qsizetype(slice.length); ++i) {
        if (d[i] != '\\')
            continue;
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
                unit = char16_t(unit * 16 + hexValue(d[i + k]));
            out += QChar(unit); // a surrogate pair comes as two escapes, one unit each
            i += 4;
            break;
        }
        default: // " \ /
            out += QLatin1Char(e);
        }
        plain = i + 1;
    }
    out += QString::fromUtf8(d + plain, qsizetype(slice.length) - plain);
    return out;
}

QString OrderedJson::text(Index node) const {
    return decode(nodes_[node].textSlice);
}

QString OrderedJson::name(Index node) const {
    return decode(nodes_[node].nameSlice);
}

bool OrderedJson::nameIs(Index node, QLatin1String name) const {
    const Slice& s = nodes_[node].nameSlice;
    if (s.escaped)
        return this->name(node) == name;
    return QLatin1String(doc_->constData() + s.start, qsizetype(s.length)) == name;
}

bool OrderedJson::nameStartsWith(Index node, char c) const {
    const Slice& s = nodes_[node].nameSlice;
    if (s.escaped)
        return name(node).startsWith(QLatin1Char(c));
    return s.length > 0 && doc_->at(s.start) == c;
}

OrderedJson::Index OrderedJson::member(Index object, QLatin1String name) const {
    if (object == none || kind(object) != Kind::Object)
        return none;
    for (Index child = firstChild(object); child != none; child = next(child))
        if (nameIs(child, name))
            return child;
    return none;
}

} // namespace pigmora
