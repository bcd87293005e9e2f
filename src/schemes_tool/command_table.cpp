#include "command_table.h"

#include "commands.h"

#include <QStringList>

namespace pigmora {

namespace {

const QString programName = QStringLiteral("pigmora-schemes");

// Breaks a paragraph into lines of at most 79 characters at blanks, as the parser does with
// the descriptions of options.
QString wrapped(const QString& paragraph) {
    QStringList lines;
    QString current;
    for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!current.isEmpty() && current.size() + 1 + word.size() > 79) {
            lines << current;
            current.clear();
        }
        current += (current.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    lines << current;
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QCommandLineOption schemeFileOption() {
    return {QString::fromLatin1(option::file),
            QStringLiteral("Die Farbdatei; ohne diese Angabe die des Programms (Farben.mdb neben "
                           "pigmora oder in ~/.local/share/Pigmora)."),
            QStringLiteral("DATEI")};
}

namespace {

// Taken and ignored by a command that reads no scheme file, so a script may give --file to
// every command; not shown in its help.
QCommandLineOption hiddenSchemeFileOption() {
    QCommandLineOption option = schemeFileOption();
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

QList<CommandEntry> makeEntries() {
    QList<CommandEntry> entries;
    entries.append(
        {ToolCommand::List,
         QStringLiteral("list"),
         QStringLiteral("list [--json] [--file DATEI]"),
         QStringLiteral("jedes Farbschema in einer Zeile: Name, Textfarbe, Hintergrund"),
         QStringLiteral("Gibt jedes gespeicherte Farbschema in gespeicherter Reihenfolge in einer "
                        "Zeile aus: Name, Tabulator, Textfarbe #rrggbb, Tabulator, Hintergrund "
                        "#rrggbb."),
         {{QString::fromLatin1(option::json),
           QStringLiteral("Gibt die Farbschemata im JSON-Format des Exports aus.")},
          schemeFileOption()},
         {}});
    entries.append(
        {ToolCommand::Export,
         QStringLiteral("export"),
         QStringLiteral("export --format css|json|gpl|tokens [-o DATEI] [--file DATEI]"),
         QStringLiteral("alle Farbschemata als CSS, JSON, GIMP-Palette oder Design Tokens"),
         QStringLiteral("Schreibt alle Farbschemata als CSS (eine Klasse und zwei Custom "
                        "Properties je Farbschema), als JSON, als GIMP-Palette oder als Design "
                        "Tokens im Format der W3C Design Tokens Community Group (DTCG)."),
         {{QString::fromLatin1(option::format),
           QStringLiteral("css, json, gpl (GIMP-Palette) oder tokens (DTCG, .tokens.json); ohne "
                          "diese Angabe nach der Endung der Ausgabedatei."),
           QStringLiteral("FORMAT")},
          {{QStringLiteral("o"), QString::fromLatin1(option::output)},
           QStringLiteral("Schreibt in diese Datei statt auf die Standardausgabe; eine "
                          "vorhandene Datei wird ganz ersetzt, in eine benannte Pipe oder ein "
                          "Gerät wird geschrieben."),
           QStringLiteral("DATEI")},
          schemeFileOption()},
         {}});
    entries.append(
        {ToolCommand::Import,
         QStringLiteral("import"),
         QStringLiteral("import DATEI... [--dry-run] [--text MUSTER --background MUSTER "
                        "[--same-role]] [--context MODIFIKATOR=KONTEXT|all] [--also-existing] "
                        "[--file DATEI]"),
         QStringLiteral("Farbschemata aus JSON, GIMP-Palette oder Design Tokens hinzufügen"),
         QStringLiteral("Fügt die Farbschemata einer JSON-Datei (des Exportformats oder einer "
                        "Liste seiner Einträge), einer GIMP-Palette oder von Design Tokens "
                        "(DTCG, .tokens.json, .json5, ein Resolver-Dokument .resolver.json) "
                        "hinter den gespeicherten an: alle, oder keines, wenn ein Eintrag "
                        "abgelehnt wird. Mehrere Token-Dateien sind ein Dokument: ein Verweis "
                        "reicht von einer in die andere. Gruppen mit „text“ und „background“ "
                        "werden Farbschemata, dann die Paare, die die Rollen der Pfade ergeben "
                        "(„fgColor.X“ und „bgColor.X“, „on-X“ und „X“ ...) oder die Muster "
                        "--text und --background. Ein Farbschema mit Namen und Farben eines "
                        "gespeicherten wird übergangen. Ohne Farbdatei legt der Import sie an."),
         {{QString::fromLatin1(option::dryRun),
           QStringLiteral("Prüft nur und gibt aus, was importiert und was abgelehnt würde; die "
                          "Farbdatei bleibt unverändert.")},
          {QString::fromLatin1(option::text),
           QStringLiteral("Die Textfarben: ein Muster über den ganzen Pfad, „*“ ein Name, „**“ "
                          "beliebig viele (etwa 'fgColor.*')."),
           QStringLiteral("MUSTER")},
          {QString::fromLatin1(option::background),
           QStringLiteral("Die Hintergründe, ebenso (etwa 'bgColor.*'); jede Textfarbe wird mit "
                          "jedem Hintergrund gepaart."),
           QStringLiteral("MUSTER")},
          {QString::fromLatin1(option::sameRole),
           QStringLiteral("Nur Paare, deren Pfade ohne die Rolle gleich sind (fgColor.danger "
                          "mit bgColor.danger).")},
          {QString::fromLatin1(option::context),
           QStringLiteral("Der Kontext eines Modifikators des Resolver-Dokuments, etwa "
                          "theme=dark (mehrmals möglich); „all“ liest jeden Kontext und nennt "
                          "die Farbschemata „dark/…“."),
           QStringLiteral("KONTEXT")},
          {QString::fromLatin1(option::alsoExisting),
           QStringLiteral("Fügt auch Farbschemata hinzu, die mit Namen und Farben schon "
                          "gespeichert sind.")},
          schemeFileOption()},
         {{QStringLiteral("datei"), QStringLiteral("Die Dateien, deren Farbschemata hinzukommen."),
           QStringLiteral("Es fehlt die Datei, deren Farbschemata hinzukommen sollen.")}},
         true});
    entries.append(
        {ToolCommand::Check,
         QStringLiteral("check"),
         QStringLiteral("check [--level AA|AAA] [--large] [--file DATEI]"),
         QStringLiteral("den Kontrast jedes Farbschemas nach WCAG 2 prüfen"),
         QStringLiteral("Prüft den Kontrast jedes Farbschemas nach WCAG 2 und gibt jedes Paar "
                        "unter der Schwelle mit seinem Kontrast aus: Name, Textfarbe, "
                        "Hintergrund, Kontrast, durch Tabulatoren getrennt."),
         {{QString::fromLatin1(option::level),
           QStringLiteral("Die Stufe: AA (Vorgabe, 4,5:1) oder AAA (7:1)."),
           QStringLiteral("STUFE")},
          {QString::fromLatin1(option::large),
           QStringLiteral("Die Schwellen für großen Text: AA 3:1, AAA 4,5:1.")},
          schemeFileOption()},
         {}});
    entries.append(
        {ToolCommand::Contrast,
         QStringLiteral("contrast"),
         QStringLiteral("contrast TEXTFARBE HINTERGRUND [--json]"),
         QStringLiteral("den Kontrast zweier Farben nach WCAG 2 und APCA"),
         QStringLiteral("Der Kontrast einer Textfarbe auf einem Hintergrund: das Verhältnis nach "
                        "WCAG 2 mit den Urteilen für AA und AAA, normalen und großen Text, und "
                        "APCA Lc. Farben in CSS-Schreibweise, wie ein Browser sie liest: #rgb, "
                        "#rrggbb, rgb(), hsl(), hwb(), lab(), lch(), oklab(), oklch(), color() "
                        "oder einer der 148 Farbnamen. Eine Textfarbe mit Alpha wird über den "
                        "Hintergrund gelegt; der Hintergrund muss deckend sein."),
         {{QString::fromLatin1(option::json),
           QStringLiteral("Gibt das Ergebnis als JSON aus, die Zahlen in voller Genauigkeit.")},
          hiddenSchemeFileOption()},
         {{QStringLiteral("textfarbe"), QStringLiteral("Die Farbe des Textes."),
           QStringLiteral("Es fehlen die Textfarbe und der Hintergrund.")},
          {QStringLiteral("hintergrund"), QStringLiteral("Die Farbe des Hintergrunds."),
           QStringLiteral("Es fehlt der Hintergrund.")}}});
    entries.append(
        {ToolCommand::Convert,
         QStringLiteral("convert"),
         QStringLiteral("convert FARBE [--json] | convert --stdin"),
         QStringLiteral("eine CSS-Farbe als #rrggbb, rgb(), hsl() und oklch()"),
         QStringLiteral("Gibt eine CSS-Farbe so aus, wie sie gespeichert und gezeigt würde, eine "
                        "Form je Zeile: #rrggbb, rgb(r g b), hsl(h s% l%), oklch(L% C H). Eine "
                        "Farbe außerhalb von sRGB wird angenähert (mit einem Hinweis), eine nicht "
                        "deckende abgelehnt. Mit --stdin eine Farbe je Zeile der "
                        "Standardeingabe, je Zeile ein #rrggbb auf der Standardausgabe; für eine "
                        "Zeile ohne deckende Farbe ein „-“ und der Grund mit der Zeilennummer auf "
                        "der Standardfehlerausgabe."),
         {{QString::fromLatin1(option::json),
           QStringLiteral("Gibt die Farbe als JSON aus: hex, rgb, hsl (Sättigung und Helligkeit "
                          "0 bis 100), oklch (Helligkeit 0 bis 1) und mapped, die Zahlen in "
                          "voller Genauigkeit.")},
          {QString::fromLatin1(option::standardInput),
           QStringLiteral("Liest die Farben zeilenweise von der Standardeingabe.")},
          hiddenSchemeFileOption()},
         {{QStringLiteral("farbe"), QStringLiteral("Die Farbe in CSS-Schreibweise."),
           QStringLiteral("Es fehlt die Farbe (oder --stdin).")}}});
    entries.append(
        {ToolCommand::Audit,
         QStringLiteral("audit"),
         QStringLiteral(
             "audit QUELLE... [--format text|json|sarif|html] [--scheme light|dark|both] "
             "[--vision protan|deutan|tritan|achroma] [--width 1280] [--min aa|aaa] "
             "[--image BERICHT.png] [--allow-network] [--browser PFAD] [--timeout 30]"),
         QStringLiteral(
             "jeden Text einer Webseite auf den Pixeln prüfen, die der Browser zeichnet"),
         QStringLiteral(
             "Lässt Chromium (headless) jede Seite zeichnen, einmal wie sie ist und "
             "einmal mit durchsichtigen Texten, und misst hinter jedem sichtbaren Text "
             "den niedrigsten und höchsten Kontrast der Pixel unter seinen Glyphen "
             "(auch über Verläufen, Bildern und durchscheinenden Ebenen). Urteil nach "
             "der W3C-Testregel zu WCAG 1.4.3 (mit --min aaa 1.4.6): „nicht bestanden“, "
             "wenn selbst der höchste Kontrast unter der Schwelle liegt, „prüfen“, wenn "
             "nur der niedrigste es tut. QUELLE ist eine HTML-Datei, ein Ordner (jede "
             "*.html darin) oder eine URL. Rückgabewert 1, wenn ein Text nicht besteht."),
         {{QString::fromLatin1(option::format),
           QStringLiteral("text (Vorgabe), json (jede Zahl in voller Genauigkeit), sarif (SARIF "
                          "2.1.0) oder html (Berichtsseite mit Ausschnitten)."),
           QStringLiteral("FORMAT")},
          {QString::fromLatin1(option::scheme),
           QStringLiteral("light (Vorgabe), dark (prefers-color-scheme: dark) oder both."),
           QStringLiteral("SCHEMA")},
          {QString::fromLatin1(option::vision),
           QStringLiteral("Zeichnet die Seite, wie sie mit dieser Farbsehschwäche gesehen wird: "
                          "protan, deutan, tritan oder achroma."),
           QStringLiteral("ART")},
          {QString::fromLatin1(option::width),
           QStringLiteral("Die Breite des Fensters in CSS-Pixeln (Vorgabe 1280)."),
           QStringLiteral("PIXEL")},
          {QString::fromLatin1(option::minimum),
           QStringLiteral("aa (1.4.3, Vorgabe) oder aaa (1.4.6)."), QStringLiteral("STUFE")},
          {QString::fromLatin1(option::image),
           QStringLiteral("Schreibt die Zeichnung der Seite als PNG, nicht bestandene Texte rot "
                          "umrahmt, zu prüfende orange."),
           QStringLiteral("BERICHT.png")},
          {QString::fromLatin1(option::allowNetwork),
           QStringLiteral("Lässt Anfragen ins Netz zu; sonst lädt nur, was neben der Datei "
                          "liegt oder vom Ursprung der URL kommt.")},
          {QString::fromLatin1(option::browser),
           QStringLiteral("Der Browser; ohne diese Angabe chromium oder chromium-browser aus dem "
                          "Suchpfad."),
           QStringLiteral("PFAD")},
          {QString::fromLatin1(option::timeout),
           QStringLiteral("Sekunden je Seite für Laden, Skripte und Zeichnen (Vorgabe 30)."),
           QStringLiteral("SEKUNDEN")},
          hiddenSchemeFileOption()},
         {{QStringLiteral("quelle"),
           QStringLiteral("Eine HTML-Datei, ein Ordner oder eine URL; auch mehrere."),
           QStringLiteral("Es fehlt die Quelle: eine HTML-Datei, ein Ordner oder eine URL.")}}});
    entries.append(gridCommandEntry());
    entries.append(rampCommandEntry());
    return entries;
}

} // namespace

const QList<CommandEntry>& commandEntries() {
    static const QList<CommandEntry> entries = [] {
        QList<CommandEntry> made = makeEntries();
        for (CommandEntry& entry : made)
            entry.description = wrapped(entry.description);
        return made;
    }();
    return entries;
}

const CommandEntry* findCommand(const QString& name) {
    for (const CommandEntry& entry : commandEntries())
        if (entry.name == name)
            return &entry;
    return nullptr;
}

const CommandEntry& commandEntry(ToolCommand command) {
    for (const CommandEntry& entry : commandEntries())
        if (entry.command == command)
            return entry;
    return commandEntries().first();
}

QList<QCommandLineOption> commonOptions() {
    return {{{QStringLiteral("h"), QString::fromLatin1(option::help)},
             QStringLiteral("Zeigt diese Hilfe an.")},
            {{QStringLiteral("v"), QString::fromLatin1(option::version)},
             QStringLiteral("Zeigt die Versionsnummer an.")}};
}

QString overviewText() {
    QStringList lines{QStringLiteral("Liest, exportiert, importiert und prüft die Farbschemata "
                                     "von Pigmora."),
                      QString(), QStringLiteral("Befehle:")};
    for (const CommandEntry& entry : commandEntries())
        lines << QStringLiteral("  %1%2").arg(entry.name, -11).arg(entry.summary);
    lines << QString()
          << QStringLiteral("„%1 BEFEHL --help“ zeigt, was ein Befehl annimmt. --file darf vor "
                            "oder nach dem Befehl stehen.")
                 .arg(programName)
          << QString()
          << QStringLiteral("Auf die Standardausgabe kommen nur Daten (Listen, Exporte, "
                            "Ergebnisse);")
          << QStringLiteral("Meldungen und Zusammenfassungen auf die Standardfehlerausgabe.")
          << QString() << QStringLiteral("Rückgabewert:") << QStringLiteral("  0  erledigt")
          << QStringLiteral("  1  Einträge abgelehnt, nichts importiert (import), Paare unter "
                            "der")
          << QStringLiteral("     Schwelle (check), abgelehnte Farben (convert), verlangte Paare")
          << QStringLiteral("     unter ihrem Ziel (grid --require), unerreichbare Ziele (ramp)")
          << QStringLiteral("     oder ein Text, der nicht besteht (audit)")
          << QStringLiteral("  2  falscher Aufruf, oder eine Datei, die nicht gelesen oder "
                            "geschrieben")
          << QStringLiteral("     werden kann; für audit auch: kein Browser, oder ein Browser, der")
          << QStringLiteral("     abstürzt oder seine Zeit überschreitet");
    return lines.join(QLatin1Char('\n'));
}

QString usageHint(const CommandEntry* command) {
    if (command)
        return QStringLiteral("Aufruf: %1 %2\n„%1 %3 --help“ zeigt die Hilfe.")
            .arg(programName, command->synopsis, command->name);
    QStringList lines;
    for (const CommandEntry& entry : commandEntries())
        lines << QStringLiteral("%1 %2 %3")
                     .arg(lines.isEmpty() ? QStringLiteral("Aufruf:") : QStringLiteral("       "),
                          programName, entry.synopsis);
    lines << QStringLiteral("„%1 --help“ zeigt die Hilfe.").arg(programName);
    return lines.join(QLatin1Char('\n'));
}

} // namespace pigmora
