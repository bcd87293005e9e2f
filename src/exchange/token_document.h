#pragma once

#include "ordered_json.h"
#include "token_values.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Design-token files read as one document (DTCG 2025.10): the tokens and groups of every
// tree, a group of one path in several trees taken as one, a token of one path given again
// overriding the one before, "$extends" (a group inheriting another's tokens), "$root", "$type"
// inherited from the groups, "$deprecated", and aliases ("{a.b}", {"$ref": "#/a/b"}) resolved
// across the trees. The older format without "$" ("value", "type") is read where a tree has no
// "$value" at all. No paths are kept: a path is made from the names of its groups when asked.
namespace pigmora {

class TokenDocument {
public:
    // A tree of tokens: a whole file, or an object inside one (the inline tokens of a
    // resolver document).
    struct Tree {
        const OrderedJson* json;
        OrderedJson::Index root;
    };
    // The trees, in order; they must outlive the document, and each root must be an object.
    explicit TokenDocument(std::vector<Tree> trees);
    int treeCount() const { return int(trees_.size()); }
    int treeOf(int token) const { return tokens_[size_t(token)].tree; }

    int tokenCount() const { return int(tokens_.size()); }
    // Whether the tree (by number) is in the older format without "$".
    bool isLegacy(int tree) const { return legacy_[size_t(tree)]; }

    // Whether a token is a colour: by its own type or its groups', or for an untyped alias its
    // target's. Of an untyped token that is no alias, `untyped` tells.
    bool isColourToken(int token);
    bool isUntyped(int token) const;
    // Whether its value is an alias of another token.
    bool isAlias(int token) const;
    // A token of the same path given later replaces it (in the palette it stands where its path
    // stood first).
    bool isOverridden(int token);
    int overriding(int token); // the token that stands for its path; itself if none overrides
    // Whether an earlier token of the same path was given: the path stands where it was first.
    bool overridesEarlier(int token);

    // Follows the token's aliases to its colour: the colour, or why it has none.
    TokenColour resolve(int token);

    // "a.b.text"; when long, only its last names ("….b.text"), each cut after 40 characters.
    QString path(int token) const;
    QString description(int token) const;
    // "$deprecated" of the token, or of its nearest group that says: true or a text.
    bool deprecated(int token, QString& text) const;

    // Today's rule: every group holding colour tokens named "text" and "background".
    struct SchemeGroup {
        int text, background;
        QString name;      // "$extensions"."org.pigmora".name, else the group's name
        QString groupPath; // as path() makes it
    };
    std::vector<SchemeGroup> schemeGroups();
    qint64 groupCount() const { return qint64(groups_.size()); }
    // Groups holding no such group at any depth (for the count of what was left alone).
    qint64 groupsWithoutScheme() const { return groupsWithoutScheme_; }

    // The tokens that "$extends" gives a group: each with the token it takes its value from
    // and the path it has in the extending group. Refused extensions (a circle, a target that
    // is no group) with their reasons.
    struct InheritedToken {
        int token;
        QString path;
    };
    std::vector<InheritedToken> inheritedTokens(QStringList& refusals);

    // What came close to a colour token or a scheme without being one, in German, each with an
    // example: tokens without a type whose value looks like a colour, "Text" or "Background"
    // in another case, groups of "text" and "background" of which one is no colour.
    QStringList nearMisses();

private:
    using Index = OrderedJson::Index;
    enum class Colour : quint8 { Unknown, Following, Yes, No };
    struct Type {
        int tree = -1;
        Index node = OrderedJson::none;
        Colour colour = Colour::Unknown;
    };
    struct Token {
        int tree;
        Index node;
        int group; // -1 at the top
        Type type;
    };
    struct Group {
        int tree;
        Index node;
        int parent;
        Index deprecation = OrderedJson::none; // its own "$deprecated" or its nearest group's
        int text = -1, background = -1;
        bool scheme = false, holdsScheme = false;
    };
    struct Target {
        int token = -1;
        int group = -1;
    };

    void walk(int tree, Index object, Type inherited, int self, Index deprecation);
    Type typeOf(int tree, Index object, Type inherited) const;
    std::optional<QStringList> aliasTarget(int tree, Index token, Index value) const;
    Index valueOf(int token) const;
    void buildIndex();
    void findFirstsOfPaths();
    quint32 hash(int group, QByteArrayView name) const;
    Target findIn(int group, const QByteArray& name, bool last, int depth);
    Target find(const QStringList& names);
    QString pathOf(int tree, Index node, int group) const;
    std::optional<JsonNode> followPointer(const QString& pointer, QString& reason);
    const OrderedJson& tree(int t) const { return *trees_[size_t(t)].json; }
    int firstOfPath(int group) const { return group < 0 ? -1 : firstOfPath_[size_t(group)]; }
    std::optional<QStringList> extendsTarget(int group) const;

    std::vector<Tree> trees_;
    std::vector<bool> legacy_;
    std::vector<Token> tokens_;
    std::vector<Group> groups_;
    // Every token and group, made on the first lookup: the hash of its group and name (high 32
    // bits) and its number, inverted (low 32 bits: a token's with the top bit set), so that
    // among equal hashes the tokens come first and, of equal paths, the last given.
    std::vector<quint64> entries_;
    bool indexed_ = false;
    std::vector<int> firstOfPath_;
    std::vector<int> overriddenBy_; // the later token of the same path, -1 if none
    std::vector<bool> overrides_;   // not the first given of its path
    std::vector<int> extending_;    // groups with "$extends", first of their paths
    std::vector<Type> pathType_;    // the "$type" a path's groups give, by first of path
    qint64 groupsWithoutScheme_ = 0;
    QHash<int, TokenColour> resolved_;
};

} // namespace pigmora
