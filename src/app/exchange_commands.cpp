#include "exchange_commands.h"

#include "base/german_locale.h"
#include "base/sample_pair.h"
#include "base/shown_text.h"
#include "clipboard.h"
#include "css_colour/css_colour.h"
#include "dialogs.h"
#include "editor/channel_editor.h"
#include "exchange/scheme_export.h"
#include "exchange/scheme_import.h"
#include "exchange/token_import.h"
#include "import_window/import_preview.h"
#include "scheme_list.h"
#include "schemes/scheme_store.h"
#include "schemes/scheme_transfer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <array>

namespace pigmora {

namespace {

const QString exportTitle = QStringLiteral("Farbschemata exportieren");
const QString importTitle = QStringLiteral("Farbschemata importieren");
const QString pasteTitle = QStringLiteral("CSS-Farbe einfügen");

struct ExportFilter {
    ExchangeFormat format;
    const char* text;
};
constexpr std::array<ExportFilter, 4> filters{{
    {ExchangeFormat::Css, "CSS-Stylesheet (*.css)"},
    {ExchangeFormat::Json, "JSON (*.json)"},
    {ExchangeFormat::Gpl, "GIMP-Palette (*.gpl)"},
    {ExchangeFormat::Tokens, "Design Tokens (DTCG) (*.tokens.json)"},
}};

// The format of a filter offered; an unknown text counts as the first filter.
ExchangeFormat formatOfFilter(const QString& filter) {
    for (const ExportFilter& f : filters)
        if (filter == QString::fromUtf8(f.text))
            return f.format;
    return filters[0].format;
}

} // namespace

QString leftOutMessage(qint64 written, qint64 leftOut, const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    const QString exported =
        written == 1 ? QStringLiteral("1 Farbschema wurde nach %1 exportiert.").arg(file)
                     : QStringLiteral("%1 Farbschemata wurden nach %2 exportiert.")
                           .arg(germanNumber(written), file);
    const QString left =
        leftOut == 1
            ? QStringLiteral("1 Eintrag ohne Namen oder mit unbrauchbaren Farbwerten wurde "
                             "ausgelassen.")
            : QStringLiteral("%1 Einträge ohne Namen oder mit unbrauchbaren Farbwerten wurden "
                             "ausgelassen.")
                  .arg(germanNumber(leftOut));
    return exported + QLatin1Char('\n') + left;
}

ExchangeCommands::ExchangeCommands(QWidget* owner, SchemeStore& store, SchemeList& list,
                                   ChannelEditor& channels, Dialogs& dialogs)
    : owner_(owner)
    , store_(store)
    , list_(list)
    , channels_(channels)
    , dialogs_(dialogs) {}

QStringList ExchangeCommands::exportFilters() {
    QStringList texts;
    for (const ExportFilter& f : filters)
        texts << QString::fromUtf8(f.text);
    return texts;
}

QString ExchangeCommands::importFilter() {
    return QStringLiteral("Farbschemata (*.json *.gpl *.tokens.json *.json5 *.tokens);;JSON "
                          "(*.json);;GIMP-Palette (*.gpl);;Design Tokens (DTCG) (*.tokens.json "
                          "*.resolver.json *.json5 *.tokens)");
}

void ExchangeCommands::tell(const QString& text, const QString& title) {
    dialogs_.message(owner_, text, title, Dialogs::MessageStyle::OkOnly);
}

void ExchangeCommands::mnuExportieren_Click() {
    if (!store_.isOpen())
        return;
    const auto choice = dialogs_.chooseSaveFile(owner_, exportTitle, exportFilters());
    if (!choice || choice->path.isEmpty())
        return;
    QString path = choice->path;
    auto format = formatFromFileName(path);
    if (!format) {
        // The chosen filter decides. Only a name without any suffix gets the filter's: a name
        // like "farben.txt" is the one the dialog asked about before replacing it, while an
        // appended "farben.txt.gpl" would replace a file nobody was asked about.
        format = formatOfFilter(choice->filter);
        if (QFileInfo(path).suffix().isEmpty())
            path += QLatin1Char('.') + formatSuffix(*format);
    }

    // Written over the scheme file, an export would destroy every scheme in it.
    if (isSameFile(path, store_.strpfad())) {
        tell(QStringLiteral("Die Datei %1 ist die Farbdatei selbst; sie wird nicht "
                            "überschrieben. Es wurde nichts exportiert.")
                 .arg(QDir::toNativeSeparators(path)),
             exportTitle);
        return;
    }
    const StoredSchemes stored = readStoredSchemes(store_.dbsfarben());
    if (!stored.error.isEmpty()) {
        tell(QStringLiteral("Die Farbschemata konnten nicht gelesen werden; es wurde nichts "
                            "exportiert:\n%1")
                 .arg(stored.error),
             exportTitle);
        return;
    }
    const ExportStamp stamp{QCoreApplication::applicationName() + QLatin1Char(' ') +
                                QCoreApplication::applicationVersion(),
                            QDateTime::currentDateTime()};
    if (const auto failure = writeExportFile(path, exportSchemes(stored.schemes, *format, stamp))) {
        tell(*failure, exportTitle);
        return;
    }
    if (stored.incomplete > 0)
        tell(leftOutMessage(qint64(stored.schemes.size()), stored.incomplete, path), exportTitle);
}

void ExchangeCommands::mnuImportieren_Click() {
    if (!store_.isOpen())
        return;
    const QStringList paths = dialogs_.chooseOpenFiles(owner_, importTitle, importFilter());
    if (paths.isEmpty())
        return;
    const ImportReading reading = readSchemeImportFiles(paths);
    if (!reading.error.isEmpty()) {
        tell(reading.error, importTitle);
        return;
    }
    std::vector<ColourScheme> chosen;
    if (reading.designTokens) {
        PairingStep step;
        step.palette = [paths](const PaletteOptions& options) {
            return readPaletteFiles(paths, options);
        };
        step.pair = [paths](const ImportOptions& options) {
            return readSchemeImportFiles(paths, options);
        };
        step.stored = readStoredSchemes(store_.dbsfarben()).schemes;
        if (paletteToGrid_) {
            QStringList names;
            for (const QString& path : paths)
                names << QFileInfo(path).fileName();
            step.showInGrid = [this, origin = names.join(QStringLiteral(", "))](
                                  const PaletteReading& palette, const QString& rows,
                                  const QString& columns) {
                paletteToGrid_(palette, origin, rows, columns);
            };
        }
        auto pairs = dialogs_.choosePairs(owner_, reading, step);
        if (!pairs)
            return;
        chosen = std::move(*pairs);
    } else {
        if (!dialogs_.confirmImport(owner_, reading))
            return;
        chosen = reading.schemes;
    }
    if (chosen.empty())
        return;
    if (const auto failure = addSchemes(store_.dbsfarben(), chosen)) {
        tell(QStringLiteral("Die Farbschemata konnten nicht importiert werden; es wurde nichts "
                            "hinzugefügt:\n%1")
                 .arg(*failure),
             importTitle);
        return;
    }
    QStringList names;
    names.reserve(qsizetype(chosen.size()));
    for (const ColourScheme& scheme : chosen)
        names << scheme.name;
    list_.addEntries(names);
}

void ExchangeCommands::mnuCssEinfügen_Click(const Clipboard& clipboard) {
    const QString text = clipboard.text();
    if (text.trimmed().isEmpty()) {
        tell(QStringLiteral("Die Zwischenablage enthält keinen Text."), pasteTitle);
        return;
    }
    const CssColourReading reading = readCssColour(text);
    if (!reading.colour) {
        tell(reading.error, pasteTitle);
        return;
    }
    QStringList notes;
    if (reading.mapped)
        notes << mappedText(text, *reading.colour);
    Rgb colour = *reading.colour;
    if (reading.alpha < 1) {
        if (!channels_.editsText()) {
            tell(notOpaqueText(text, reading.alpha) +
                     QStringLiteral(" Als Hintergrund wird nur eine deckende Farbe übernommen; "
                                    "es wurde nichts geändert."),
                 pasteTitle);
            return;
        }
        // Laid over the background, as a browser shows the text.
        const Rgb background = channels_.pair().background();
        const TextOverBackground over = textOverBackground(reading, text, background);
        colour = over.colour;
        notes << over.note;
    }
    channels_.setColour(colour);
    if (!notes.isEmpty())
        tell(notes.join(QLatin1Char('\n')), pasteTitle);
}

} // namespace pigmora
