#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonParseError>
#include <QString>
#include <deque>

namespace pigmora {

// A JSON document whose objects keep their members in the file's order (a QJsonObject sorts
// them), for formats where the order carries meaning. A value costs eight bytes beside the
// document, which must outlive the tree: texts, names and numbers stay in the document and are
// read from it when asked for.
class OrderedJson {
public:
    enum class Kind : quint8 { Null, False, True, Number, String, Array, Object };
    using Index = quint32;
    static constexpr Index none = ~Index(0);
    // More values than this (numbers, texts, lists, objects ...) are not read: a document of
    // the import's largest size made only of "0," would otherwise take some 270 MB.
    static constexpr Index maxValues = 5000000;
    // Arrays and objects nest at most this deep, as in QJsonDocument.
    static constexpr int maxDepth = 1024;

    // JSON, or JSON5 (comments, unquoted names, single quotes, trailing commas, hexadecimal
    // numbers, Infinity and NaN, a "+" or a point at either end of a number, more escapes and
    // blanks).
    enum class Grammar : quint8 { Json, Json5 };

    // Reads `utf8`; on failure `error` says what and where, as QJsonDocument would. A document
    // of more than maxValues values fails with DocumentTooLarge and tooManyValues().
    bool parse(const QByteArray& utf8, QJsonParseError& error, Grammar grammar = Grammar::Json);
    bool tooManyValues() const { return tooManyValues_; }
    // After a failed parse as JSON of what JSON5 allows: which of its features it was
    // ("Name ohne Anführungszeichen"); empty otherwise.
    QString json5Feature() const { return json5Feature_; }

    Index root() const { return 0; }
    Kind kind(Index node) const { return Kind((nodes_[node].at >> kindShift) & 7); }
    double number(Index node) const;
    // A number as the document writes it, cut after `limit` characters with "…".
    QString numberText(Index node, qsizetype limit) const;
    // The members of an object or the items of an array, in order: first, then next.
    Index firstChild(Index node) const { return nodes_[node].at & hasChildren ? node + 1 : none; }
    Index next(Index node) const { return nodes_[node].next; }
    // A string's text; a member's name, whole or cut after `limit` UTF-16 units with "…".
    QString text(Index node) const;
    QString name(Index node) const;
    QString name(Index node, qsizetype limit) const;
    // The name in UTF-8, without a copy where it has no escapes.
    QByteArray nameUtf8(Index node) const;
    // Whether the name or the string is `utf8`; costs the length of `utf8`, not of the name.
    bool nameIs(Index node, QByteArrayView utf8) const;
    bool textIs(Index node, QByteArrayView utf8) const;
    bool nameStartsWith(Index node, char c) const;
    // The first member of an object of that name; none when there is none or `object` is none
    // or no object, so lookups chain.
    Index member(Index object, QByteArrayView name) const;

private:
    // `at` is where the value starts in the document, for a member where its name starts (just
    // after the quote), with the kind and two flags above.
    struct Node {
        quint32 at = 0;
        Index next = none;
    };
    static constexpr quint32 placeMask = (1u << 27) - 1;
    static constexpr int kindShift = 27;
    static constexpr quint32 isMember = 1u << 30;
    static constexpr quint32 hasChildren = 1u << 31;

    qsizetype valueAt(Index node) const;
    // The quote a text starting at `start` ends with; 0 for an unquoted name (JSON5).
    char quoteOf(qsizetype start) const;
    qsizetype stringEnd(qsizetype start, qsizetype maxBytes, char quote = '"') const;
    qsizetype nameEnd(qsizetype start, qsizetype maxBytes) const {
        return stringEnd(start, maxBytes, quoteOf(start));
    }
    QString decode(qsizetype start, qsizetype end) const;
    bool sameText(qsizetype start, QByteArrayView utf8, char quote) const;
    bool value(Index node, int depth);
    bool string();
    bool identifier();
    bool number();
    bool fail(QJsonParseError::ParseError what);
    bool json5Only(const char* feature);
    void skipBlanks();
    qsizetype skipBlanksFrom(qsizetype i) const;

    const QByteArray* doc_ = nullptr;
    qsizetype pos_ = 0;
    QJsonParseError error_{};
    bool tooManyValues_ = false;
    Grammar grammar_ = Grammar::Json;
    QString json5Feature_;
    // In the order of the document, so a value's first child, if any, follows it. A deque
    // grows without copying what it holds.
    std::deque<Node> nodes_;
};

// "Die Datei ist kein gültiges JSON: ... (bei Zeichen n)."
QString jsonParseErrorText(const QJsonParseError& error);
// "Die Datei ist kein gültiges JSON5: ... (Zeile 3, Spalte 7)." with the line and column of the
// failure in `contents`, and, for what only JSON5 allows, that feature and where it is allowed
// ("Name ohne Anführungszeichen: erlaubt nur in JSON5-Dateien (.json5)").
QString jsonParseErrorText(const QJsonParseError& error, const QByteArray& contents,
                           const OrderedJson& reader, OrderedJson::Grammar grammar);

} // namespace pigmora
