#pragma once

#include <QByteArray>
#include <QJsonParseError>
#include <QLatin1String>
#include <QString>
#include <vector>

namespace pigmora {

// A JSON document whose objects keep their members in the file's order (a QJsonObject sorts
// them), for formats where the order carries meaning. Texts stay in the document until asked
// for, so the tree costs little beside the document, which must outlive it.
class OrderedJson {
public:
    enum class Kind : quint8 { Null, False, True, Number, String, Array, Object };
    using Index = quint32;
    static constexpr Index none = ~Index(0);

    // Reads `utf8`; on failure `error` says what and where, as QJsonDocument would.
    bool parse(const QByteArray& utf8, QJsonParseError& error);

    Index root() const { return 0; }
    Kind kind(Index node) const { return nodes_[node].kind; }
    double number(Index node) const { return nodes_[node].number; }
    // The members of an object or the items of an array, in order: first, then next.
    Index firstChild(Index node) const { return nodes_[node].firstChild; }
    Index next(Index node) const { return nodes_[node].next; }
    // A string's text; a member's name.
    QString text(Index node) const;
    QString name(Index node) const;
    bool nameIs(Index node, QLatin1String name) const;
    bool nameStartsWith(Index node, char c) const;
    // The first member of an object of that name; none when there is none or `object` is none
    // or no object, so lookups chain.
    Index member(Index object, QLatin1String name) const;

private:
    struct Slice {
        quint32 start = 0, length = 0;
        bool escaped = false;
    };
    struct Node {
        double number = 0;
        Slice textSlice, nameSlice;
        Index firstChild = none, next = none;
        Kind kind = Kind::Null;
    };
    QString decode(const Slice& slice) const;
    bool value(Index node, int depth);
    bool string(Slice& slice);
    bool fail(QJsonParseError::ParseError what);
    void skipBlanks();

    const QByteArray* doc_ = nullptr;
    qsizetype pos_ = 0;
    QJsonParseError error_{};
    std::vector<Node> nodes_;
};

// "Die Datei ist kein gültiges JSON: ... (bei Zeichen n)."
QString jsonParseErrorText(const QJsonParseError& error);

} // namespace pigmora
