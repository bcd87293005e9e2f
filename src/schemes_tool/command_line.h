#pragma once

#include "base/colour_value.h"
#include "command_table.h"
#include "contrast/wcag.h"
#include "exchange/scheme_export.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace pigmora {

// What audit is asked for, read by readAuditOptions (audit_command.cpp).
struct AuditCall {
    QStringList sources; // files, folders, URLs
    QString format;      // text, json, sarif, html
    bool light = true;   // --scheme light or both
    bool dark = false;   // --scheme dark or both
    int vision = -1;     // a VisionDeficiency, -1 for none
    int width = 1280;
    bool enhanced = false; // --min aaa
    QString image;         // --image
    bool allowNetwork = false;
    QString browser;
    int timeoutSeconds = 30;
};

// What the command line asks for, every value checked.
struct CommandLine {
    ToolCommand command = ToolCommand::List;
    QString schemeFile;                          // --file; empty: where the program keeps it
    bool json = false;                           // list, contrast, convert --json
    ExchangeFormat format = ExchangeFormat::Css; // export --format, or -o's suffix
    QString outputFile;                          // export -o; empty: standard output
    QString importFile;                          // import DATEI (the first)
    QStringList importFiles;                     // import DATEI...
    bool dryRun = false;                         // import --dry-run
    QString textGlob, backgroundGlob;            // import --text, --background
    bool sameRole = false;                       // import --same-role
    QStringList contexts;                        // import --context (without "all")
    bool allContexts = false;                    // import --context all
    bool alsoExisting = false;                   // import --also-existing
    WcagLevel level = WcagLevel::AA;             // check --level
    bool largeText = false;                      // check --large
    Rgb textColour;                              // contrast (laid over the background)
    Rgb background;                              // contrast
    QStringList notes;                           // contrast: colours mapped or laid over
    QString colour;                              // convert FARBE
    bool fromStandardInput = false;              // convert --stdin
    AuditCall audit;                             // audit
    // grid, ramp: the arguments after the command, and each option given with its values
    // (none for a switch); the command reads them itself.
    QStringList arguments;
    QHash<QString, QStringList> options;
};

struct ParsedCommandLine {
    enum class Outcome { Run, Help, Version, Error };
    Outcome outcome = Outcome::Error;
    CommandLine commandLine;
    QString text;      // the help text, or the German message of the error
    QString usageHint; // for an error: how to call the command (or the tool) and find its help
};

// Reads the arguments (the first one names the program) with QCommandLineParser. Needs a
// QCoreApplication (the help names the program as it was called).
ParsedCommandLine parseCommandLine(const QStringList& arguments);

} // namespace pigmora
