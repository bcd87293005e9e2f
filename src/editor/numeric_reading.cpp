#include "numeric_reading.h"

#include "base/hex_digit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace pigmora {

namespace {

bool isIgnoredBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

bool isDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

double readHexDigits(const QString& s, qsizetype from) {
    double value = 0;
    for (qsizetype i = from; i < s.size(); ++i) {
        const int d = hexDigit(s[i].unicode());
        if (d < 0)
            break;
        value = value * 16 + d;
    }
    return value;
}

// Whether a number that lies outside the range of double lies above it rather than below: its
// decimal order of magnitude decides, not the sign of its exponent ("0.000...1" without an
// exponent is tiny, 400 nines with "e-5" are huge). `number` is digits, an optional "." with
// digits and an optional "e", sign and digits.
bool beyondLargest(const std::string& number) {
    const std::size_t e = number.find('e');
    const std::string mantissa = number.substr(0, e);
    long long exponent = 0;
    if (e != std::string::npos) {
        std::size_t i = e + 1;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+'))
            ++i;
        for (; i < number.size(); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1000000000000LL);
        if (negative)
            exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string::npos)
        return false; // zero
    // The power of ten of the first significant digit.
    const auto distance = [](std::size_t from, std::size_t to) {
        return static_cast<long long>(to) - static_cast<long long>(from);
    };
    const long long order = first < point ? distance(first, point) - 1 : -distance(point, first);
    return order + exponent > 0;
}

} // namespace

double readNumber(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (!isIgnoredBlank(c))
            s += c;

    if (s.size() >= 2 && s[0] == QLatin1Char('&') && s[1].toUpper() == QLatin1Char('H'))
        return readHexDigits(s, 2);

    // Collect the longest prefix that forms a number, then convert it independently of the
    // process locale (a German locale would otherwise expect a decimal comma).
    std::string number;
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        negative = s[i++] == QLatin1Char('-');
    bool anyDigit = false;
    for (; i < s.size() && isDigit(s[i]); ++i, anyDigit = true)
        number += char(s[i].unicode());
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        number += '.';
        for (++i; i < s.size() && isDigit(s[i]); ++i, anyDigit = true)
            number += char(s[i].unicode());
    }
    if (!anyDigit)
        return 0;
    if (i < s.size() && s[i].toUpper() == QLatin1Char('E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            exponent += char(s[j++].unicode());
        const qsizetype digitsFrom = j;
        for (; j < s.size() && isDigit(s[j]); ++j)
            exponent += char(s[j].unicode());
        if (j > digitsFrom)
            number += exponent;
    }

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range)
        value = beyondLargest(number) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

std::optional<ChannelValue> toChannel(double number) {
    if (!std::isfinite(number))
        return std::nullopt;
    const double rounded = std::nearbyint(number); // the default mode rounds halves to even
    if (rounded < 0 || rounded > 255)
        return std::nullopt;
    return ChannelValue(rounded);
}

ChannelValue toChannelClamped(double number) {
    if (const auto channel = toChannel(number))
        return *channel;
    return number > 0 ? 255 : 0;
}

QString shortestDecimalText(double number) {
    if (number == 0)
        return QStringLiteral("0"); // also for -0
    if (std::isfinite(number) && std::abs(number) < 1e15 && number == std::trunc(number))
        return QString::number(static_cast<long long>(number));
    return QString::number(number, 'g', 15).toUpper();
}

} // namespace pigmora
