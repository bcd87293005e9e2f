#include "base/hex_digit.h"
#include "command_support.h"
#include "commands.h"
#include "css_colour/css_colour.h"
#include "output_forms.h"

#include <QIODevice>
#include <QStringList>
#include <algorithm>

namespace pigmora {

namespace {

constexpr qint64 blockSize = 1 << 20;

QByteArray numberText(double v) {
    return QByteArray::number(v, 'g', QLocale::FloatingPointShortest);
}

QByteArray numbersJson(const std::array<double, 3>& v) {
    return '[' + numberText(v[0]) + ", " + numberText(v[1]) + ", " + numberText(v[2]) + ']';
}

// {"hex": ..., "rgb": [...], "hsl": [...], "oklch": [...], "mapped": ...} in this order.
QByteArray colourJson(Rgb colour, bool mapped) {
    return "{\"hex\": \"" + hashHexText(colour).toLatin1() + "\", \"rgb\": [" +
           QByteArray::number(colour.red) + ", " + QByteArray::number(colour.green) + ", " +
           QByteArray::number(colour.blue) + "], \"hsl\": " + numbersJson(hslNumbers(colour)) +
           ", \"oklch\": " + numbersJson(oklchNumbers(colour)) +
           ", \"mapped\": " + (mapped ? "true" : "false") + "}\n";
}

// Why a reading is no colour the scheme file could hold; empty when it is one.
QString refusal(const QString& text, const CssColourReading& reading) {
    if (!reading.colour)
        return reading.error;
    if (reading.alpha < 1)
        return notOpaqueText(text, reading.alpha) +
               QStringLiteral(" Gespeichert werden nur deckende Farben.");
    return {};
}

int convertOne(const CommandLine& line, ToolOutput& output) {
    const CssColourReading reading = readCssColour(line.colour);
    if (const QString why = refusal(line.colour, reading); !why.isEmpty()) {
        output.message(QStringLiteral("pigmora-schemes: ") + why);
        return int(ToolExit::Refused);
    }
    const Rgb colour = *reading.colour;
    if (reading.mapped)
        output.message(QStringLiteral("Hinweis: ") + mappedText(line.colour, colour));
    if (line.json)
        output.write(colourJson(colour, reading.mapped));
    else
        output.line(QStringList{hashHexText(colour), cssRgbText(colour), cssHslText(colour),
                                cssOklchText(colour)}
                        .join(QLatin1Char('\n')));
    return int(ToolExit::Done);
}

// One colour a line, "#rrggbb" or "-" for each. Standard input is read and the answers are
// written in large blocks; a line of ASCII (nearly every one) is read without a new string.
class LineConverter {
public:
    explicit LineConverter(ToolOutput& output)
        : output_(output) {
        out_.reserve(blockSize + 64);
    }

    void convert(QByteArrayView line) {
        ++number_;
        const bool ascii =
            std::all_of(line.begin(), line.end(), [](char c) { return uchar(c) < 0x80; });
        QString decoded;
        if (ascii) {
            text_.resize(line.size());
            QChar* to = text_.data();
            for (qsizetype i = 0; i < line.size(); ++i)
                to[i] = QLatin1Char(line[i]);
        } else {
            decoded = QString::fromUtf8(line);
        }
        const QString& text = ascii ? text_ : decoded;
        const CssColourReading reading = readCssColour(QStringView(text));
        if (reading.colour && reading.alpha >= 1) {
            char hex[8];
            writeHashHex(*reading.colour, LetterCase::Lower, hex);
            hex[7] = '\n';
            out_.append(hex, 8);
            mapped_ += reading.mapped ? 1 : 0;
        } else {
            out_.append("-\n");
            err_ += QStringLiteral("pigmora-schemes: Zeile %1: %2\n")
                        .arg(number_)
                        .arg(refusal(text, reading))
                        .toUtf8();
            ++refused_;
        }
        if (out_.size() >= blockSize || err_.size() >= blockSize / 16)
            flush();
    }

    // A line longer than a block is not kept whole, and no colour anyway.
    void convertTooLong() {
        ++number_;
        out_.append("-\n");
        err_ += QStringLiteral("pigmora-schemes: Zeile %1: Die Zeile ist länger als 1 MB; sie "
                               "wird nicht gelesen.\n")
                    .arg(number_)
                    .toUtf8();
        ++refused_;
    }

    void flush() {
        if (!out_.isEmpty())
            output_.write(out_);
        if (!err_.isEmpty())
            output_.messages(err_);
        out_.clear();
        err_.clear();
    }

    qint64 refused() const { return refused_; }
    qint64 mapped() const { return mapped_; }

private:
    ToolOutput& output_;
    QByteArray out_, err_;
    QString text_;
    qint64 number_ = 0, refused_ = 0, mapped_ = 0;
};

int convertLines(ToolOutput& output, QIODevice* input) {
    if (!input || !input->isReadable())
        return fail(output, ToolCommand::Convert,
                    QStringLiteral("Die Standardeingabe kann nicht gelesen werden."));
    LineConverter converter(output);
    QByteArray block(blockSize, Qt::Uninitialized);
    QByteArray rest; // the start of a line the last block cut off
    bool restTooLong = false;
    for (;;) {
        const qint64 got = input->read(block.data(), blockSize);
        if (got < 0)
            return fail(output, ToolCommand::Convert,
                        QStringLiteral("Die Standardeingabe kann nicht gelesen werden: %1")
                            .arg(input->errorString()));
        if (got == 0)
            break;
        QByteArrayView data(block.constData(), got);
        qsizetype start = 0;
        for (qsizetype end; (end = data.indexOf('\n', start)) >= 0; start = end + 1) {
            if (restTooLong) {
                converter.convertTooLong();
            } else if (rest.isEmpty()) {
                converter.convert(data.sliced(start, end - start));
            } else {
                rest += data.sliced(start, end - start);
                converter.convert(rest);
            }
            rest.clear();
            restTooLong = false;
        }
        if (!restTooLong)
            rest += data.sliced(start);
        if (rest.size() > blockSize) {
            rest.clear();
            restTooLong = true;
        }
    }
    if (restTooLong)
        converter.convertTooLong();
    else if (!rest.isEmpty())
        converter.convert(rest);
    converter.flush();
    if (converter.mapped() > 0)
        output.message(
            QStringLiteral("Hinweis: %1 außerhalb von sRGB und %2 angenähert.")
                .arg(countText(converter.mapped(), QStringLiteral("Farbe lag"),
                               QStringLiteral("Farben lagen")),
                     converter.mapped() == 1 ? QStringLiteral("wurde") : QStringLiteral("wurden")));
    return converter.refused() > 0 ? int(ToolExit::Refused) : int(ToolExit::Done);
}

} // namespace

int runConvert(const CommandLine& line, ToolOutput& output, QIODevice* input) {
    return line.fromStandardInput ? convertLines(output, input) : convertOne(line, output);
}

} // namespace pigmora
