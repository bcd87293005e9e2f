#pragma once

#include "base/ascii.h" // names compare as CSS compares keywords

#include <QStringView>
#include <array>

// The tokens of a CSS colour, read as the CSS tokenizer reads them: numbers with sign, decimals
// and exponent, percentages, dimensions ("90deg"), identifiers, functions ("rgb("), hashes
// ("#fa0"), commas, slashes and parentheses. Whitespace (space, tab, line feed, carriage return
// and form feed only) and comments separate tokens and are dropped. Escapes in names are read
// as CSS reads them ("r\gb", "r\67 b", "\72 ed"). Nothing is allocated: the tokens point into
// the text, or, for a name written with escapes, into the list's own room for names.
namespace pigmora::css {

enum class TokenType {
    Number,
    Percentage,
    Dimension,
    Ident,
    Function, // an identifier directly followed by "("
    Hash,
    Comma,
    Slash,
    OpenParen,
    CloseParen,
    Delim, // any other character, among them a "\" that starts no escape
};

struct Token {
    TokenType type = TokenType::Delim;
    double value = 0; // Number, Percentage, Dimension (overflow gives an infinity)
    QStringView text; // the token as written
    // Dimension: the unit; Ident, Function: the name; Hash: after the "#". Escapes read.
    QStringView name;
};

// At most this many tokens are read; a longer text is no colour anyway.
inline constexpr int maxTokens = 24;

// The tokens of a text. Names written with escapes point into the list itself, so it is made
// where it is used and never copied or moved.
struct TokenList {
    explicit TokenList(QStringView text);
    TokenList(const TokenList&) = delete;
    TokenList& operator=(const TokenList&) = delete;

    QStringView source; // the text read
    std::array<Token, maxTokens> tokens;
    int count = 0;
    bool tooMany = false;
    const Token& operator[](int i) const { return tokens[std::size_t(i)]; }

    // Room for the names written with escapes, read. A name that does not fit keeps its text as
    // written, which names nothing CSS knows.
    std::array<char16_t, 256> names{};
    std::size_t namesUsed = 0;
};

} // namespace pigmora::css
