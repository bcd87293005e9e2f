// The exports as their real consumers read them: Style Dictionary (the npm package, pinned by
// tokens/package-lock.json and installed by the fixture before this test) builds the token
// export into CSS variables, and Chromium lays out a page that uses every class of the CSS
// export. Both exports come from pigmora-schemes, as in a build pipeline. A consumer that is
// missing fails the test.

#include "css_colour/css_colour.h"
#include "schemes/scheme_file.h"
#include "schemes/scheme_transfer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace pigmora;

namespace {

// Stored names and the class a page gives an element for each.
const QList<std::pair<QString, QString>> namesAndClasses{
    {"Abend", "farbschema-Abend"},
    {"Abend", "farbschema-Abend-2"},
    {"Grauer Hinweis", "farbschema-Grauer-Hinweis"},
    {"  Viel   Platz\t", "farbschema-Viel-Platz"},
    {"Grün & Blau < > ; { } . # :", "farbschema-Grün-&-Blau-<->-;-{-}-.-#-:"},
    {"Emoji 😀🎨", "farbschema-Emoji-😀🎨"},
    {"2024 Frühling", "farbschema-2024-Frühling"},
    {"\"Zitat\" 'x' \\", "farbschema-\"Zitat\"-'x'-\\"},
    {"*/ </style>", "farbschema-*/-</style>"},
    {"-", "farbschema--"},
    {"Abend-2", "farbschema-Abend-2-2"},
    {QString("Nicht\u00A0getrennt"), QString("farbschema-Nicht\u00A0getrennt")},
    // Names that only case tells apart: one for a kebab-case build or a case-blind tool.
    {"ABEND", "farbschema-ABEND-3"},
    {"Grün", "farbschema-Grün"},
    {"grün", "farbschema-grün-2"},
};

std::vector<ColourScheme> schemes() {
    std::vector<ColourScheme> made;
    int i = 0;
    for (const auto& [name, cls] : namesAndClasses) {
        const auto c = ChannelValue(20 * i++);
        made.push_back({name, {c, ChannelValue(255 - c), 7}, {1, ChannelValue(c / 2), c}});
    }
    return made;
}

QString rgbText(Rgb c) {
    return QStringLiteral("rgb(%1, %2, %3)").arg(c.red).arg(c.green).arg(c.blue);
}

QString htmlAttribute(QString text) {
    return text.replace('&', "&amp;").replace('"', "&quot;").replace('<', "&lt;");
}

// A program's exit status (-1: did not start or end) and its two outputs.
struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run run(const QString& program, const QStringList& args, const QString& workDir = {}) {
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(program, args);
    const bool ended = process.waitForFinished(120000);
    if (!ended)
        process.kill();
    process.waitForFinished();
    const bool normal = ended && process.exitStatus() == QProcess::NormalExit;
    return {normal ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError() + process.errorString().toUtf8()};
}

} // namespace

class TestExchangeConsumers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void styleDictionaryBuildsTheTokens();
    void everyClassAppliesInABrowser();

private:
    // pigmora-schemes export --format <format> to standard output, into the file `name`.
    QString exported(const QString& format, const QString& name) {
        const QString file = dir_.filePath(name);
        QProcess tool;
        tool.setStandardOutputFile(file);
        tool.start(PIGMORA_SCHEMES_TOOL, {"export", "--format", format, "--file", schemeFile_});
        return tool.waitForFinished() && tool.exitCode() == 0 ? file : QString();
    }
    QTemporaryDir dir_;
    QString schemeFile_;
};

void TestExchangeConsumers::initTestCase() {
    schemeFile_ = dir_.filePath("Farben.mdb");
    const auto file = SchemeFile::openOrCreate(schemeFile_);
    QCOMPARE(addSchemes(*file, schemes()), std::nullopt);
}

// The export goes through Style Dictionary's own build into CSS variables, every value the
// stored colour, in stored order, text before background.
void TestExchangeConsumers::styleDictionaryBuildsTheTokens() {
    const QString tokens = exported("tokens", "farben.tokens.json");
    QVERIFY(!tokens.isEmpty());
    const QString out = dir_.filePath("sd");
    const Run built = run("node", {"build.mjs", tokens, out}, TOKEN_CONSUMER_DIR);
    QVERIFY2(built.exitCode == 0, (built.out + built.err).constData());

    QFile css(out + "/farben.css");
    QVERIFY(css.open(QIODevice::ReadOnly));
    static const QRegularExpression variable(QStringLiteral("^\\s*--([^:]+): (#[0-9a-f]{6});$"),
                                             QRegularExpression::MultilineOption);
    QStringList names, values;
    for (auto it = variable.globalMatch(QString::fromUtf8(css.readAll())); it.hasNext();) {
        const auto m = it.next();
        names << m.captured(1);
        values << m.captured(2);
    }
    QStringList expected;
    for (const ColourScheme& s : schemes())
        expected << hashHexText(s.text) << hashHexText(s.background);
    QCOMPARE(values, expected);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
}

// Each class of the CSS export, carried by an element's class attribute, gives it the scheme's
// two colours, and every custom property on :root holds its colour.
void TestExchangeConsumers::everyClassAppliesInABrowser() {
    QCOMPARE(exported("css", "farben.css"), dir_.filePath("farben.css"));
    QString page = "<!doctype html><html><head><meta charset=\"utf-8\">"
                   "<link rel=\"stylesheet\" href=\"farben.css\"></head><body>\n";
    for (const auto& [name, cls] : namesAndClasses)
        page += "<div class=\"" + htmlAttribute(cls) + "\">Beispiel</div>\n";
    // Run once the style sheet is there (a script waits for the sheets before it).
    page += R"(<pre id="ergebnis"></pre><script>
const seen = [];
for (const el of document.querySelectorAll('div')) {
  const style = getComputedStyle(el);
  seen.push([el.className, style.color, style.backgroundColor]);
}
const root = getComputedStyle(document.documentElement);
for (const el of document.querySelectorAll('div')) {
  seen.push([root.getPropertyValue('--' + el.className + '-text').trim(),
             root.getPropertyValue('--' + el.className + '-background').trim()]);
}
document.getElementById('ergebnis').textContent = encodeURIComponent(JSON.stringify(seen));
</script></body></html>
)";
    QFile html(dir_.filePath("seite.html"));
    QVERIFY(html.open(QIODevice::WriteOnly));
    html.write(page.toUtf8());
    html.close();

    const Run browser =
        run("chromium",
            {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--user-data-dir=" + dir_.filePath("chromium-profil"), "--dump-dom",
             QUrl::fromLocalFile(html.fileName()).toString()});
    QVERIFY2(browser.exitCode == 0, browser.err.constData());
    static const QRegularExpression result(QStringLiteral("<pre id=\"ergebnis\">([^<]*)</pre>"));
    const auto m = result.match(QString::fromUtf8(browser.out));
    QVERIFY2(m.hasMatch(), browser.out.left(2000).constData());
    const QJsonArray seen =
        QJsonDocument::fromJson(QUrl::fromPercentEncoding(m.captured(1).toLatin1()).toUtf8())
            .array();
    const std::vector<ColourScheme> stored = schemes();
    QCOMPARE(seen.size(), 2 * qsizetype(stored.size()));
    for (qsizetype i = 0; i < qsizetype(stored.size()); ++i) {
        const QJsonArray element = seen[i].toArray();
        QCOMPARE(element[0].toString(), namesAndClasses[i].second);
        QCOMPARE(element[1].toString(), rgbText(stored[size_t(i)].text));
        QCOMPARE(element[2].toString(), rgbText(stored[size_t(i)].background));
        const QJsonArray properties = seen[qsizetype(stored.size()) + i].toArray();
        QCOMPARE(properties[0].toString(), hashHexText(stored[size_t(i)].text));
        QCOMPARE(properties[1].toString(), hashHexText(stored[size_t(i)].background));
    }
}

QTEST_GUILESS_MAIN(TestExchangeConsumers)
#include "test_exchange_consumers.moc"
