#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

// The commands of pigmora-schemes, their options and the texts that describe them.
namespace pigmora {

enum class ToolCommand { List, Export, Import, Check, Contrast, Convert, Grid, Ramp, Audit };

// The long names of the options, as QCommandLineParser looks them up.
namespace option {
inline constexpr char file[] = "file";
inline constexpr char json[] = "json";
inline constexpr char format[] = "format";
inline constexpr char output[] = "output";
inline constexpr char dryRun[] = "dry-run";
inline constexpr char level[] = "level";
inline constexpr char large[] = "large";
inline constexpr char standardInput[] = "stdin";
inline constexpr char text[] = "text";
inline constexpr char background[] = "background";
inline constexpr char sameRole[] = "same-role";
inline constexpr char context[] = "context";
inline constexpr char alsoExisting[] = "also-existing";
inline constexpr char help[] = "help";
inline constexpr char version[] = "version";
inline constexpr char scheme[] = "scheme"; // audit's options from here on
inline constexpr char vision[] = "vision";
inline constexpr char width[] = "width";
inline constexpr char minimum[] = "min";
inline constexpr char image[] = "image";
inline constexpr char allowNetwork[] = "allow-network";
inline constexpr char browser[] = "browser";
inline constexpr char timeout[] = "timeout";
} // namespace option

struct CommandArgument {
    QString name;
    QString description;
    QString missing; // the message when it is not given
};

struct CommandEntry {
    ToolCommand command;
    QString name;     // "list"
    QString synopsis; // "list [--json] [--file DATEI]"
    QString summary;  // one line for the overview
    QString description;
    QList<QCommandLineOption> options; // besides --help and --version
    QList<CommandArgument> arguments;  // all of them required (convert: unless --stdin; audit:
                                       // one or more)
    bool repeatsLast = false;          // the last argument may be given more than once
};

const QList<CommandEntry>& commandEntries();
const CommandEntry* findCommand(const QString& name);
const CommandEntry& commandEntry(ToolCommand command);

// --file, of every command that works on the scheme file.
QCommandLineOption schemeFileOption();
// What every parser knows: --help and --version.
QList<QCommandLineOption> commonOptions();
// The head of the help without a command: what the tool does, its commands, its exit statuses.
QString overviewText();
// The lines after an error message: how the command (or, without one, the tool) is called, and
// where its help is.
QString usageHint(const CommandEntry* command);

} // namespace pigmora
