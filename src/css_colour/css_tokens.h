#pragma once

#include "base/ascii.h" // names compare as CSS compares keywords

#include <QStringView>
#include <array>

// The tokens of a CSS colour, read as the CSS tokenizer reads them: numbers with sign, decimals
// and exponent, percentages, dimensions ("90deg"), identifiers, functions ("rgb("), hashes
// ("#fa0"), commas, slashes and parentheses. Whitespace (space, tab, line feed, carriage return
// and form feed only) and comments separate tokens and are dropped. Nothing is allocated: the
// tokens point into the text.
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
    Delim, // any other character, among them "\" (escapes are not read)
};

struct Token {
    TokenType type = TokenType::Delim;
    double value = 0; // Number, Percentage, Dimension (overflow gives an infinity)
    QStringView text; // the token as written
    QStringView name; // Dimension: the unit; Ident, Function: the name; Hash: after the "#"
};

// At most this many tokens are read; a longer text is no colour anyway.
inline constexpr int maxTokens = 24;

struct TokenList {
    QStringView source; // the text read
    std::array<Token, maxTokens> tokens;
    int count = 0;
    bool tooMany = false;
    const Token& operator[](int i) const { return tokens[std::size_t(i)]; }
};

TokenList tokenize(QStringView text);

} // namespace pigmora::css
