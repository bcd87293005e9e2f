#include "command_line.h"

#include "commands.h"
#include "css_colour/css_colour.h"

#include <QCommandLineParser>
#include <QSet>
#include <algorithm>

namespace pigmora {

namespace {

using Outcome = ParsedCommandLine::Outcome;

ParsedCommandLine failure(const QString& message, const CommandEntry* command) {
    ParsedCommandLine parsed;
    parsed.text = message;
    parsed.usageHint = usageHint(command);
    return parsed;
}

// The parser's own error text, but naming an unknown option with its dashes.
QString parserError(const QCommandLineParser& parser) {
    QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty())
        return parser.errorText();
    for (QString& name : unknown)
        name = QStringLiteral("„%1%2“").arg(
            name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    return unknown.size() == 1 ? QStringLiteral("Die Option %1 gibt es nicht.").arg(unknown.first())
                               : QStringLiteral("Diese Optionen gibt es nicht: %1.")
                                     .arg(unknown.join(QStringLiteral(", ")));
}

ParsedCommandLine outcome(Outcome kind, const QString& text = {}) {
    ParsedCommandLine parsed;
    parsed.outcome = kind;
    parsed.text = text;
    return parsed;
}

void addOptions(QCommandLineParser& parser, const QList<QCommandLineOption>& options) {
    for (const QCommandLineOption& o : options)
        parser.addOption(o);
}

// Every option of every command, so that an option's value is never taken for the command.
QString commandName(const QStringList& arguments) {
    QCommandLineParser parser;
    QSet<QString> added;
    QList<QCommandLineOption> all = commonOptions();
    for (const CommandEntry& entry : commandEntries())
        all += entry.options;
    for (const QCommandLineOption& o : all)
        if (!added.contains(o.names().constLast())) {
            added.insert(o.names().constLast());
            parser.addOption(o);
        }
    parser.parse(arguments);
    return parser.positionalArguments().value(0);
}

ParsedCommandLine withoutCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(overviewText());
    addOptions(parser, commonOptions());
    parser.addOption(schemeFileOption());
    parser.addPositionalArgument(QStringLiteral("befehl"),
                                 QStringLiteral("list, export, import, check, contrast, "
                                                "convert, grid, ramp oder audit"));
    if (!parser.parse(arguments))
        return failure(parserError(parser), nullptr);
    if (parser.isSet(QString::fromLatin1(option::help)))
        return outcome(Outcome::Help, parser.helpText());
    if (parser.isSet(QString::fromLatin1(option::version)))
        return outcome(Outcome::Version);
    return failure(QStringLiteral("Es fehlt ein Befehl."), nullptr);
}

std::optional<ExchangeFormat> namedFormat(const QString& name) {
    for (ExchangeFormat format : exchangeFormats)
        if (name.compare(formatKey(format), Qt::CaseInsensitive) == 0)
            return format;
    return std::nullopt;
}

// The values of the options; a message when one cannot be used.
std::optional<QString> readOptions(const QCommandLineParser& parser, const CommandEntry& entry,
                                   CommandLine& line) {
    // Only the command's own options may be asked for: the parser warns about any other.
    const auto known = [&entry](const char* name) {
        return std::any_of(entry.options.begin(), entry.options.end(),
                           [name](const QCommandLineOption& o) {
                               return o.names().contains(QString::fromLatin1(name));
                           });
    };
    const auto value = [&parser, known](const char* name) {
        return known(name) ? parser.value(QString::fromLatin1(name)) : QString();
    };
    const auto isSet = [&parser, known](const char* name) {
        return known(name) && parser.isSet(QString::fromLatin1(name));
    };
    if (isSet(option::file)) {
        line.schemeFile = value(option::file);
        if (line.schemeFile.isEmpty())
            return QStringLiteral("Nach --file fehlt der Pfad der Farbdatei.");
    }
    if (line.command == ToolCommand::Grid || line.command == ToolCommand::Ramp)
        for (const QCommandLineOption& o : entry.options)
            if (parser.isSet(o.names().constLast()))
                line.options.insert(o.names().constLast(), parser.values(o.names().constLast()));
    line.json = isSet(option::json);
    line.dryRun = isSet(option::dryRun);
    if (line.command == ToolCommand::Import) {
        line.textGlob = value(option::text);
        line.backgroundGlob = value(option::background);
        line.sameRole = isSet(option::sameRole);
        line.alsoExisting = isSet(option::alsoExisting);
        for (const QString& c : parser.values(QString::fromLatin1(option::context))) {
            if (c == QLatin1String("all"))
                line.allContexts = true;
            else
                line.contexts << c;
        }
        if (line.allContexts && !line.contexts.isEmpty())
            return QStringLiteral("--context all liest jeden Kontext; dazu passt kein einzelner.");
        if (isSet(option::text) != isSet(option::background) ||
            (isSet(option::text) && (line.textGlob.isEmpty() || line.backgroundGlob.isEmpty())))
            return QStringLiteral("Eine Regel braucht beide Muster: --text und --background.");
        if (line.sameRole && line.textGlob.isEmpty())
            return QStringLiteral("--same-role gilt für eine Regel aus --text und --background.");
    }
    line.largeText = isSet(option::large);
    line.fromStandardInput = isSet(option::standardInput);
    if (line.fromStandardInput && line.json)
        return QStringLiteral("--json gilt für eine einzelne Farbe, nicht mit --stdin.");
    if (line.command == ToolCommand::Export) {
        line.outputFile = value(option::output);
        if (isSet(option::output) && line.outputFile.isEmpty())
            return QStringLiteral("Nach -o fehlt der Name der Ausgabedatei.");
        std::optional<ExchangeFormat> format;
        if (isSet(option::format)) {
            format = namedFormat(value(option::format));
            if (!format)
                return QStringLiteral("Das Format „%1“ gibt es nicht; möglich sind css, json, gpl "
                                      "und tokens.")
                    .arg(value(option::format));
        } else if (!line.outputFile.isEmpty()) {
            format = formatFromFileName(line.outputFile);
        }
        if (!format)
            return QStringLiteral("Es fehlt das Format: --format css, json, gpl oder tokens.");
        line.format = *format;
    }
    if (isSet(option::level)) {
        const QString level = value(option::level).toUpper();
        if (level == QLatin1String("AA"))
            line.level = WcagLevel::AA;
        else if (level == QLatin1String("AAA"))
            line.level = WcagLevel::AAA;
        else
            return QStringLiteral("Die Stufe „%1“ gibt es nicht; möglich sind AA und AAA.")
                .arg(value(option::level));
    }
    return std::nullopt;
}

// The two colours of contrast: a text colour with alpha is laid over the background, which
// must be opaque.
std::optional<QString> readContrastColours(const QString& textArgument,
                                           const QString& backgroundArgument, CommandLine& line) {
    const CssColourReading text = readCssColour(textArgument);
    if (!text.colour)
        return text.error;
    const CssColourReading background = readCssColour(backgroundArgument);
    if (!background.colour)
        return background.error;
    if (background.alpha < 1)
        return notOpaqueText(backgroundArgument, background.alpha) +
               QStringLiteral(" Der Hintergrund muss deckend sein.");
    line.background = *background.colour;
    for (const auto& [argument, reading] :
         {std::pair{&textArgument, &text}, std::pair{&backgroundArgument, &background}})
        if (reading->mapped)
            line.notes << QStringLiteral("Hinweis: ") + mappedText(*argument, *reading->colour);
    line.textColour = *text.colour;
    if (text.alpha < 1) {
        const TextOverBackground over = textOverBackground(text, textArgument, line.background);
        line.textColour = over.colour;
        line.notes << QStringLiteral("Hinweis: ") + over.note;
    }
    return std::nullopt;
}

// The arguments after the command: the import file, the two colours, or the colour to convert
// (none with --stdin).
std::optional<QString> readArguments(const CommandEntry& entry, const QStringList& given,
                                     CommandLine& line) {
    if (entry.command == ToolCommand::Audit) {
        if (given.isEmpty())
            return entry.arguments.first().missing;
        line.audit.sources = given;
        return std::nullopt;
    }
    if (entry.command == ToolCommand::Grid || entry.command == ToolCommand::Ramp) {
        line.arguments = given;
        return std::nullopt;
    }
    if (entry.command == ToolCommand::Convert && line.fromStandardInput) {
        if (!given.isEmpty())
            return QStringLiteral("Mit --stdin kommen die Farben von der Standardeingabe, nicht "
                                  "als Argument: „%1“.")
                .arg(given.join(QStringLiteral("“, „")));
        return std::nullopt;
    }
    if (given.size() < entry.arguments.size())
        return entry.arguments[given.size()].missing;
    if (given.size() > entry.arguments.size() && !entry.repeatsLast) {
        QStringList extra = given.mid(entry.arguments.size());
        for (QString& e : extra)
            e = QStringLiteral("„%1“").arg(e);
        return QStringLiteral("Zu viele Argumente: %1.").arg(extra.join(QStringLiteral(", ")));
    }
    if (entry.command == ToolCommand::Import) {
        line.importFile = given[0];
        line.importFiles = given;
    }
    if (entry.command == ToolCommand::Convert)
        line.colour = given[0];
    if (entry.command == ToolCommand::Contrast)
        return readContrastColours(given[0], given[1], line);
    return std::nullopt;
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    const QString name = commandName(arguments);
    if (name.isEmpty())
        return withoutCommand(arguments);
    const CommandEntry* entry = findCommand(name);
    if (!entry)
        return failure(QStringLiteral("Den Befehl „%1“ gibt es nicht.").arg(name), nullptr);

    QCommandLineParser parser;
    parser.setApplicationDescription(entry->description);
    addOptions(parser, commonOptions());
    addOptions(parser, entry->options);
    parser.addPositionalArgument(entry->name, entry->summary);
    for (const CommandArgument& argument : entry->arguments)
        parser.addPositionalArgument(argument.name, argument.description);
    if (!parser.parse(arguments))
        return failure(parserError(parser), entry);
    if (parser.isSet(QString::fromLatin1(option::help)))
        return outcome(Outcome::Help, parser.helpText());
    if (parser.isSet(QString::fromLatin1(option::version)))
        return outcome(Outcome::Version);

    ParsedCommandLine parsed = outcome(Outcome::Run);
    parsed.commandLine.command = entry->command;
    if (auto problem = readOptions(parser, *entry, parsed.commandLine))
        return failure(*problem, entry);
    if (entry->command == ToolCommand::Audit)
        if (auto problem = readAuditOptions(parser, parsed.commandLine.audit))
            return failure(*problem, entry);
    if (auto problem =
            readArguments(*entry, parser.positionalArguments().mid(1), parsed.commandLine))
        return failure(*problem, entry);
    return parsed;
}

} // namespace pigmora
