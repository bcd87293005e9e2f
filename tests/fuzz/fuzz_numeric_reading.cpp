// The lenient numeric reading and the conversions after it, on arbitrary text and numbers.
//
// readNumber is checked against the C library's strtod in the "C" locale wherever the text (its
// blanks removed) starts the way both read alike: a decimal number, or "&H" and hexadecimal
// digits. toChannel, toChannelClamped and shortestDecimalText are checked against what their
// declarations promise, on the number read and on the first eight input bytes taken as a double.

#include "editor/numeric_reading.h"
#include "fuzz_support.h"

#include <QString>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <locale.h>
#include <stdlib.h>

using namespace pigmora;

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Both tiny enough that the difference between underflowing to zero and a subnormal result
// does not count.
bool bothTiny(double a, double b) {
    return std::fabs(a) < DBL_MIN && std::fabs(b) < DBL_MIN;
}

void checkAgainstStrtod(const QString& text, double read) {
    QByteArray s;
    for (QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            s += QString(c).toUtf8();
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);

    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
        QByteArray digits;
        for (qsizetype i = 2; i < s.size() && std::isxdigit(static_cast<unsigned char>(s[i])); ++i)
            digits += s[i];
        if (digits.isEmpty()) {
            FUZZ_CHECK(read == 0, "\"%s\" read as %.17g", s.constData(), read);
            return;
        }
        // strtod reads hexadecimal digits correctly rounded; adding digit by digit may be a few
        // units off once more than 53 bits are needed.
        const double expected = strtod_l(("0x" + digits).constData(), nullptr, cLocale);
        const qsizetype significant = digits.size() - qsizetype(std::strspn(digits, "0"));
        if (significant <= 13 || std::isinf(expected))
            FUZZ_CHECK(read == expected, "\"%s\" read as %.17g, not %.17g", s.constData(), read,
                       expected);
        else
            FUZZ_CHECK(std::fabs(read - expected) <= 1e-13 * expected,
                       "\"%s\" read as %.17g, not %.17g", s.constData(), read, expected);
        return;
    }

    qsizetype i = (!s.isEmpty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
    const bool decimalStart =
        i < s.size() && (isDigit(s[i]) || (s[i] == '.' && i + 1 < s.size() && isDigit(s[i + 1])));
    // strtod would also read "0x..." as hexadecimal, and "inf" or "nan".
    const bool hexPrefix = i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X');
    if (!decimalStart) {
        FUZZ_CHECK(read == 0, "\"%s\" has no number at its start but read as %.17g", s.constData(),
                   read);
        return;
    }
    if (hexPrefix)
        return;
    const double expected = strtod_l(s.constData(), nullptr, cLocale);
    FUZZ_CHECK(read == expected || bothTiny(read, expected), "\"%s\" read as %.17g, not %.17g",
               s.constData(), read, expected);
}

void checkChannel(double x) {
    const auto channel = toChannel(x);
    if (channel) {
        const double off = std::fabs(x - *channel);
        FUZZ_CHECK(std::isfinite(x) && off <= 0.5, "%.17g became channel %d", x, int(*channel));
        FUZZ_CHECK(off < 0.5 || *channel % 2 == 0, "%.17g rounded to odd %d", x, int(*channel));
        FUZZ_CHECK(toChannelClamped(x) == *channel, "clamped %.17g differs", x);
    } else {
        FUZZ_CHECK(!std::isfinite(x) || x < -0.5 || x >= 255.5, "%.17g refused as a channel", x);
        FUZZ_CHECK(toChannelClamped(x) == (x > 0 ? 255 : 0), "%.17g clamped to %d", x,
                   int(toChannelClamped(x)));
    }
}

void checkShortestText(double x) {
    const QString text = shortestDecimalText(x);
    FUZZ_CHECK(!text.isEmpty(), "no text for %.17g", x);
    if (!std::isfinite(x))
        return;
    for (QChar c : text)
        FUZZ_CHECK(QStringLiteral("-0123456789.E+").contains(c), "%.17g written as %s", x,
                   qPrintable(text));
    const double back = readNumber(text);
    if (x == std::trunc(x) && std::fabs(x) < 1e15) {
        FUZZ_CHECK(back == x && !text.contains(QLatin1Char('.')) &&
                       !text.contains(QLatin1Char('E')),
                   "whole %.17g written as %s", x, qPrintable(text));
    } else if (std::fabs(x) < 1e-300) {
        FUZZ_CHECK(std::fabs(back) < 1e-300, "%.17g written as %s", x, qPrintable(text));
    } else if (std::fabs(x) > 1.797693134862315e308) {
        // Rounded to fifteen digits, it lies beyond the largest double.
        FUZZ_CHECK(std::isinf(back) && (back > 0) == (x > 0), "%.17g written as %s", x,
                   qPrintable(text));
    } else {
        // Fifteen significant digits.
        FUZZ_CHECK(std::fabs(back - x) <= 1e-14 * std::fabs(x), "%.17g written as %s", x,
                   qPrintable(text));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const double read = readNumber(text);
    checkAgainstStrtod(text, read);
    checkChannel(read);
    checkShortestText(read);
    if (size >= sizeof(double)) {
        double x;
        std::memcpy(&x, data, sizeof x);
        checkChannel(x);
        checkShortestText(x);
    }
    return 0;
}
