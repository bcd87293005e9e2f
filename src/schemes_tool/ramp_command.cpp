// pigmora-schemes ramp: colours of a key's hue made to the contrasts they must reach on one or
// more backgrounds.

#include "base/hex_digit.h"
#include "command_support.h"
#include "commands.h"
#include "contrast_grid/colour_ramp.h"
#include "css_colour/css_colour.h"
#include "exchange/ramp_export.h"
#include "version.h"

namespace pigmora {

namespace {

namespace ramp {
inline constexpr char background[] = "background";
inline constexpr char targets[] = "targets";
inline constexpr char apca[] = "apca";
inline constexpr char format[] = "format";
} // namespace ramp

// An opaque CSS colour of the command line; a note when it lay outside sRGB.
std::optional<Rgb> opaqueColour(const QString& text, const QString& role, QString& problem,
                                QStringList& notes) {
    const CssColourReading reading = readCssColour(text);
    if (!reading.colour) {
        problem = reading.error;
        return std::nullopt;
    }
    if (reading.alpha < 1) {
        problem =
            notOpaqueText(text, reading.alpha) + QStringLiteral(" %1 muss deckend sein.").arg(role);
        return std::nullopt;
    }
    if (reading.mapped)
        notes << QStringLiteral("Hinweis: ") + mappedText(text, *reading.colour);
    return reading.colour;
}

} // namespace

CommandEntry rampCommandEntry() {
    QCommandLineOption hiddenFile = schemeFileOption();
    hiddenFile.setFlags(QCommandLineOption::HiddenFromHelp);
    return {ToolCommand::Ramp,
            QStringLiteral("ramp"),
            QStringLiteral("ramp SCHLÜSSELFARBE --background FARBE... (--targets \"1.5 2 3 4.5 7 "
                           "10\" | --apca \"15 30 45 60 75 90\") [--format text|json|tokens|css]"),
            QStringLiteral("Farben eines Farbtons zu den Kontrasten, die sie erreichen müssen"),
            QStringLiteral("Macht aus einer Schlüsselfarbe für jedes Ziel eine Farbe ihres "
                           "Farbtons (OkLCh, auf 2° genau), ihre Buntheit so nah an der des "
                           "Schlüssels, wie sRGB es zulässt, die das Ziel auf dem Hintergrund "
                           "erreicht: ein Verhältnis nach WCAG 2 (höchstens 0,05 darüber) oder "
                           "APCA Lc (höchstens 1 darüber), die Helligkeit vom Hintergrund weg "
                           "der Reihe nach. Mit mehreren Hintergründen eine Reihe je Hintergrund "
                           "zu denselben Zielen, etwa ein helles und ein dunkles Thema. Ein Ziel, "
                           "das keine Farbe dieses Farbtons erreicht, wird auf der "
                           "Standardfehlerausgabe genannt (Rückgabewert 1); die anderen werden "
                           "trotzdem gemacht. Farben in CSS-Schreibweise."),
            {{QString::fromLatin1(ramp::background),
              QStringLiteral("Der Hintergrund, deckend; mehrmals für mehrere Reihen."),
              QStringLiteral("FARBE")},
             {QString::fromLatin1(ramp::targets),
              QStringLiteral("Die Ziele als Kontrastverhältnisse nach WCAG 2, aufsteigend, "
                             "etwa „1.5 2 3 4.5 7 10“."),
              QStringLiteral("ZIELE")},
             {QString::fromLatin1(ramp::apca),
              QStringLiteral("Die Ziele als APCA Lc, aufsteigend, etwa „15 30 45 60 75 90“."),
              QStringLiteral("ZIELE")},
             {QString::fromLatin1(ramp::format),
              QStringLiteral("text (Vorgabe), json (jedes Ziel mit Farbe, vollem Kontrast und "
                             "ob es erreicht ist), tokens (Design Tokens, eine Gruppe je Reihe) "
                             "oder css (Custom Properties)."),
              QStringLiteral("FORMAT")},
             hiddenFile},
            {{QStringLiteral("schlüsselfarbe"),
              QStringLiteral("Die Farbe, deren Farbton die Reihe hat."),
              {}}}};
}

int runRamp(const CommandLine& line, ToolOutput& output) {
    const auto wrong = [&output](const QString& message) {
        return fail(output, ToolCommand::Ramp, message);
    };
    if (line.arguments.isEmpty())
        return wrong(QStringLiteral("Es fehlt die Schlüsselfarbe."));
    if (line.arguments.size() > 1)
        return wrong(QStringLiteral("Zu viele Argumente: „%1“.")
                         .arg(line.arguments.mid(1).join(QStringLiteral("“, „"))));
    const QStringList backgrounds = line.options.value(QString::fromLatin1(ramp::background));
    if (backgrounds.isEmpty())
        return wrong(QStringLiteral("Es fehlt der Hintergrund: --background FARBE."));
    const bool wcag = line.options.contains(QString::fromLatin1(ramp::targets));
    const bool apca = line.options.contains(QString::fromLatin1(ramp::apca));
    if (wcag == apca)
        return wrong(wcag ? QStringLiteral("Die Ziele sind entweder Verhältnisse (--targets) "
                                           "oder APCA-Werte (--apca), nicht beides.")
                          : QStringLiteral("Es fehlen die Ziele: --targets \"1.5 2 3 4.5 7 10\" "
                                           "oder --apca \"15 30 45 60 75 90\"."));
    const RampMeasure measure = wcag ? RampMeasure::Wcag : RampMeasure::Apca;
    const QStringList targetTexts =
        line.options.value(QString::fromLatin1(wcag ? ramp::targets : ramp::apca));
    if (targetTexts.size() > 1)
        return wrong(QStringLiteral("Die Ziele stehen in einer Angabe: --%1 \"1.5 2 3\".")
                         .arg(QLatin1String(wcag ? ramp::targets : ramp::apca)));
    const RampTargetsReading targets = readRampTargets(targetTexts.value(0), measure);
    if (!targets.problem.isEmpty())
        return wrong(targets.problem);
    RampFormat format = RampFormat::Text;
    const QStringList formats = line.options.value(QString::fromLatin1(ramp::format));
    if (!formats.isEmpty()) {
        const auto named = rampFormatNamed(formats.last());
        if (!named)
            return wrong(QStringLiteral("Das Format „%1“ gibt es nicht; möglich sind text, json, "
                                        "tokens und css.")
                             .arg(formats.last()));
        format = *named;
    }

    QString problem;
    QStringList notes;
    const auto key =
        opaqueColour(line.arguments[0], QStringLiteral("Die Schlüsselfarbe"), problem, notes);
    if (!key)
        return wrong(problem);
    std::vector<ColourRamp> ramps;
    for (const QString& text : backgrounds) {
        const auto background =
            opaqueColour(text, QStringLiteral("Der Hintergrund"), problem, notes);
        if (!background)
            return wrong(problem);
        ramps.push_back(makeColourRamp(*key, *background, measure, targets.targets));
    }
    for (const QString& note : notes)
        output.message(note);
    output.write(rampExport(
        ramps, format, {QStringLiteral("Pigmora " PIGMORA_VERSION), QDateTime::currentDateTime()}));
    int missed = 0;
    for (const ColourRamp& r : ramps)
        for (const RampStep& step : r.steps) {
            if (step.reached)
                continue;
            ++missed;
            QString text = QStringLiteral("pigmora-schemes: Das Ziel %1 erreicht auf %2 keine "
                                          "Farbe des Farbtons von %3")
                               .arg(rampTargetText(measure, step.target), hashHexText(r.background),
                                    hashHexText(*key));
            if (step.colour)
                text +=
                    QStringLiteral(" (am nächsten: %1 mit %2)")
                        .arg(hashHexText(*step.colour), rampContrastText(measure, step.contrast));
            output.message(text + QLatin1Char('.'));
        }
    return int(missed ? ToolExit::Refused : ToolExit::Done);
}

} // namespace pigmora
