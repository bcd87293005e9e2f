#include "audit_report.h"

#include "base/german_locale.h"
#include "base/hex_digit.h"
#include "base/shown_text.h"
#include "contrast/colour_vision.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace pigmora {

namespace {

QString ruleId(WcagLevel level) {
    return level == WcagLevel::AAA ? QStringLiteral("WCAG-1.4.6") : QStringLiteral("WCAG-1.4.3");
}

QString sizeText(const TextFinding& f) {
    return QStringLiteral("%1 px (%2 pt)%3%4")
        .arg(germanNumberText(f.text.fontSizePx, 2), germanNumberText(f.text.fontSizePx * 0.75, 2),
             f.text.fontWeight >= 700 ? QStringLiteral(", fett") : QString(),
             f.large ? QStringLiteral(", großer Text") : QString());
}

QString coloursText(const TextFinding& f) {
    QString text = QStringLiteral("%1 auf %2")
                       .arg(hashHexText(f.shownLowest), hashHexText(f.backgroundLowest));
    if (!(f.backgroundLowest == f.backgroundHighest))
        text += QStringLiteral(" bis %1").arg(hashHexText(f.backgroundHighest));
    if (f.text.alpha < 1)
        text += QStringLiteral(" (Textfarbe %1 mit Deckkraft %2)")
                    .arg(hashHexText(f.text.colour), germanNumberText(f.text.alpha, 3));
    return text;
}

QString messageText(const PageAuditResult& r, const TextFinding& f) {
    return QStringLiteral("%1: Kontrast %2, mindestens %3 (%4). Text „%5“, %6, %7.")
        .arg(verdictName(f.verdict), ratioRangeText(f), thresholdText(f.required),
             r.level == WcagLevel::AAA ? QStringLiteral("1.4.6 AAA") : QStringLiteral("1.4.3 AA"),
             shownText(f.text.text, 60), coloursText(f), sizeText(f));
}

QJsonObject findingJson(const TextFinding& f) {
    QJsonArray boxes;
    for (const GlyphBox& b : f.text.boxes)
        boxes.append(QJsonArray{b.x, b.y, b.width, b.height});
    return {{QStringLiteral("selector"), f.text.selector},
            {QStringLiteral("text"), f.text.text},
            {QStringLiteral("verdict"), verdictName(f.verdict)},
            {QStringLiteral("colour"), hashHexText(f.text.colour)},
            {QStringLiteral("alpha"), f.text.alpha},
            {QStringLiteral("shownColour"), hashHexText(f.shownLowest)},
            {QStringLiteral("backgroundLowest"), hashHexText(f.backgroundLowest)},
            {QStringLiteral("backgroundHighest"), hashHexText(f.backgroundHighest)},
            {QStringLiteral("lowest"), f.lowest},
            {QStringLiteral("highest"), f.highest},
            {QStringLiteral("required"), f.required},
            {QStringLiteral("fontSizePx"), f.text.fontSizePx},
            {QStringLiteral("fontSizePt"), f.text.fontSizePx * 0.75},
            {QStringLiteral("fontWeight"), f.text.fontWeight},
            {QStringLiteral("large"), f.large},
            {QStringLiteral("pixels"), double(f.pixels)},
            {QStringLiteral("bounds"),
             QJsonArray{f.bounds.x, f.bounds.y, f.bounds.width, f.bounds.height}},
            {QStringLiteral("boxes"), boxes}};
}

QJsonObject skippedJson(const SkipCounts& counts) {
    static const char* keys[] = {"hidden",     "offScreen", "clipped",   "transparent",
                                 "ariaHidden", "disabled",  "invisible", "decorative"};
    QJsonObject o;
    for (std::size_t i = 0; i < allSkipReasons.size(); ++i)
        o.insert(QString::fromLatin1(keys[i]), counts.counts[i]);
    return o;
}

// The line of a local page's source where the text first stands, or 0.
class SourceLines {
public:
    int find(const PageSource& source, const QString& text) {
        const QUrl url(source.url);
        if (!url.isLocalFile() || text.size() < 3)
            return 0;
        auto it = files_.find(source.url);
        if (it == files_.end()) {
            QFile file(url.toLocalFile());
            QString content;
            if (file.size() <= 64 * 1024 * 1024 && file.open(QIODevice::ReadOnly))
                content = QString::fromUtf8(file.readAll());
            it = files_.insert(source.url, content);
        }
        const QString needle = text.left(40);
        const qsizetype at = it->indexOf(needle);
        return at < 0 ? 0 : int(QStringView(*it).left(at).count(QLatin1Char('\n'))) + 1;
    }

private:
    QHash<QString, QString> files_;
};

QString artifactUri(const PageSource& source) {
    const QUrl url(source.url);
    if (!url.isLocalFile())
        return source.url;
    if (QFileInfo(source.shown).isRelative())
        return QString::fromLatin1(
            QUrl::toPercentEncoding(QDir::fromNativeSeparators(source.shown), "/"));
    return source.url;
}

QString cropDataUri(const PixelImage& crop) {
    return QStringLiteral("data:image/png;base64,") +
           QString::fromLatin1(encodePng(crop).toBase64());
}

} // namespace

QString renderingName(const PageAuditResult& r) {
    QString how = schemeName(r.settings.scheme);
    if (r.settings.vision)
        how += QStringLiteral(", ") + deficiencyName(*r.settings.vision);
    return QStringLiteral("%1 (%2)").arg(r.source.shown, how);
}

QString ratioRangeText(const TextFinding& f) {
    const QString low = ratioText(f.lowest), high = ratioText(f.highest);
    return low == high ? low : QStringLiteral("%1 bis %2").arg(low, high);
}

QString findingText(const PageAuditResult& r, const TextFinding& f) {
    return QStringLiteral("%1: %2, Kontrast %3 (mindestens %4)\n  Text „%5“ in %6\n  Farbe %7, %8")
        .arg(renderingName(r), verdictName(f.verdict), ratioRangeText(f), thresholdText(f.required),
             shownText(f.text.text, 60), f.text.selector, coloursText(f), sizeText(f));
}

QString auditText(const std::vector<PageAuditResult>& results) {
    QStringList blocks;
    for (const PageAuditResult& r : results)
        for (const TextFinding& f : r.findings)
            if (f.verdict != TextVerdict::Pass)
                blocks << findingText(r, f);
    return blocks.join(QStringLiteral("\n\n"));
}

QString auditSummary(const PageAuditResult& r) {
    QString line =
        QStringLiteral("%1: %2 Texte beurteilt: %3 nicht bestanden, %4 prüfen, %5 bestanden")
            .arg(renderingName(r), germanNumber(qint64(r.findings.size())),
                 germanNumber(r.count(TextVerdict::Fail)),
                 germanNumber(r.count(TextVerdict::Review)),
                 germanNumber(r.count(TextVerdict::Pass)));
    QStringList skipped;
    for (SkipReason reason : allSkipReasons)
        if (r.skipped[reason] > 0)
            skipped << QStringLiteral("%1 %2").arg(germanNumber(r.skipped[reason]),
                                                   skipReasonName(reason));
    if (!skipped.isEmpty())
        line += QStringLiteral("; übersprungen: ") + skipped.join(QStringLiteral(", "));
    if (r.refusedRequests > 0)
        line += QStringLiteral("; %1 ins Netz abgewiesen")
                    .arg(r.refusedRequests == 1
                             ? QStringLiteral("1 Anfrage")
                             : germanNumber(r.refusedRequests) + QStringLiteral(" Anfragen"));
    return line + QLatin1Char('.');
}

QByteArray auditJson(const std::vector<PageAuditResult>& results) {
    QJsonArray pages;
    for (const PageAuditResult& r : results) {
        QJsonArray findings;
        for (const TextFinding& f : r.findings)
            findings.append(findingJson(f));
        pages.append(QJsonObject{
            {QStringLiteral("page"), r.source.shown},
            {QStringLiteral("url"), r.source.url},
            {QStringLiteral("scheme"), r.settings.scheme == PageScheme::Dark
                                           ? QStringLiteral("dark")
                                           : QStringLiteral("light")},
            {QStringLiteral("vision"),
             r.settings.vision ? QJsonValue(visionKey(*r.settings.vision)) : QJsonValue()},
            {QStringLiteral("width"), r.width},
            {QStringLiteral("height"), r.height},
            {QStringLiteral("rule"), ruleId(r.level)},
            {QStringLiteral("failed"), r.count(TextVerdict::Fail)},
            {QStringLiteral("review"), r.count(TextVerdict::Review)},
            {QStringLiteral("passed"), r.count(TextVerdict::Pass)},
            {QStringLiteral("skipped"), skippedJson(r.skipped)},
            {QStringLiteral("refusedRequests"), r.refusedRequests},
            {QStringLiteral("findings"), findings}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("pages"), pages}})
        .toJson(QJsonDocument::Indented);
}

QByteArray auditSarif(const std::vector<PageAuditResult>& results, const QString& version) {
    const WcagLevel level = results.empty() ? WcagLevel::AA : results.front().level;
    const bool aaa = level == WcagLevel::AAA;
    const QJsonObject rule{
        {QStringLiteral("id"), ruleId(level)},
        {QStringLiteral("name"),
         aaa ? QStringLiteral("ContrastEnhanced") : QStringLiteral("ContrastMinimum")},
        {QStringLiteral("shortDescription"),
         QJsonObject{
             {QStringLiteral("text"),
              aaa ? QStringLiteral("Kontrast (erhöht), WCAG 2 1.4.6 AAA: 7:1, großer Text 4,5:1")
                  : QStringLiteral(
                        "Kontrast (Minimum), WCAG 2 1.4.3 AA: 4,5:1, großer Text 3:1")}}},
        {QStringLiteral("fullDescription"),
         QJsonObject{{QStringLiteral("text"),
                      QStringLiteral(
                          "Gemessen an den Pixeln, die der Browser hinter den Glyphen "
                          "zeichnet: nicht bestanden, wenn selbst der höchste Kontrast "
                          "unter der Schwelle liegt, prüfen, wenn nur der niedrigste es tut.")}}},
        {QStringLiteral("helpUri"),
         aaa ? QStringLiteral("https://www.w3.org/WAI/WCAG22/Understanding/contrast-enhanced.html")
             : QStringLiteral("https://www.w3.org/WAI/WCAG22/Understanding/contrast-minimum.html")},
        {QStringLiteral("defaultConfiguration"),
         QJsonObject{{QStringLiteral("level"), QStringLiteral("error")}}}};
    QJsonArray sarifResults;
    SourceLines lines;
    for (const PageAuditResult& r : results)
        for (const TextFinding& f : r.findings) {
            if (f.verdict == TextVerdict::Pass)
                continue;
            QJsonObject physical{{QStringLiteral("artifactLocation"),
                                  QJsonObject{{QStringLiteral("uri"), artifactUri(r.source)}}}};
            if (const int line = lines.find(r.source, f.text.text); line > 0)
                physical.insert(QStringLiteral("region"),
                                QJsonObject{{QStringLiteral("startLine"), line}});
            QJsonObject properties = findingJson(f);
            properties.insert(QStringLiteral("scheme"), r.settings.scheme == PageScheme::Dark
                                                            ? QStringLiteral("dark")
                                                            : QStringLiteral("light"));
            if (r.settings.vision)
                properties.insert(QStringLiteral("vision"), visionKey(*r.settings.vision));
            properties.remove(QStringLiteral("boxes"));
            sarifResults.append(
                QJsonObject{{QStringLiteral("ruleId"), ruleId(r.level)},
                            {QStringLiteral("ruleIndex"), 0},
                            {QStringLiteral("level"), f.verdict == TextVerdict::Fail
                                                          ? QStringLiteral("error")
                                                          : QStringLiteral("warning")},
                            {QStringLiteral("message"),
                             QJsonObject{{QStringLiteral("text"), messageText(r, f)}}},
                            {QStringLiteral("locations"),
                             QJsonArray{QJsonObject{
                                 {QStringLiteral("physicalLocation"), physical},
                                 {QStringLiteral("logicalLocations"),
                                  QJsonArray{QJsonObject{
                                      {QStringLiteral("fullyQualifiedName"), f.text.selector},
                                      {QStringLiteral("kind"), QStringLiteral("element")}}}}}}},
                            {QStringLiteral("properties"), properties}});
        }
    const QJsonObject driver{{QStringLiteral("name"), QStringLiteral("pigmora-schemes audit")},
                             {QStringLiteral("version"), version},
                             {QStringLiteral("rules"), QJsonArray{rule}}};
    const QJsonObject run{{QStringLiteral("tool"), QJsonObject{{QStringLiteral("driver"), driver}}},
                          {QStringLiteral("results"), sarifResults},
                          {QStringLiteral("columnKind"), QStringLiteral("unicodeCodePoints")}};
    return QJsonDocument(
               QJsonObject{{QStringLiteral("$schema"),
                            QStringLiteral("https://json.schemastore.org/sarif-2.1.0.json")},
                           {QStringLiteral("version"), QStringLiteral("2.1.0")},
                           {QStringLiteral("runs"), QJsonArray{run}}})
        .toJson(QJsonDocument::Indented);
}

QByteArray auditHtml(const std::vector<PageAuditResult>& results) {
    QString html = QStringLiteral(
        "<!doctype html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Ist die Seite lesbar?</title>\n<style>\n"
        "body{font:15px/1.4 sans-serif;margin:2em;color:#1a1a1a;background:#fff}\n"
        "table{border-collapse:collapse;margin:1em 0}th,td{border:1px solid #bbb;padding:.4em;"
        "vertical-align:top;text-align:left}\n.fail{color:#a00000;font-weight:bold}"
        ".review{color:#8a4b00;font-weight:bold}\n.swatch{display:inline-block;width:1em;height:"
        "1em;"
        "border:1px solid #555;vertical-align:middle}\nimg{max-width:480px;border:1px solid #bbb}\n"
        "code{font-size:90%}\n</style>\n</head>\n<body>\n<h1>Ist die Seite lesbar?</h1>\n");
    const auto swatch = [](Rgb c) {
        return QStringLiteral("<span class=\"swatch\" style=\"background:%1\"></span> %1")
            .arg(hashHexText(c));
    };
    for (const PageAuditResult& r : results) {
        html += QStringLiteral("<section>\n<h2>%1</h2>\n<p>%2</p>\n")
                    .arg(renderingName(r).toHtmlEscaped(), auditSummary(r).toHtmlEscaped());
        if (r.count(TextVerdict::Fail) + r.count(TextVerdict::Review) == 0) {
            html += QStringLiteral("</section>\n");
            continue;
        }
        html += QStringLiteral("<table>\n<tr><th>Urteil</th><th>Ausschnitt</th><th>Kontrast</th>"
                               "<th>Farben</th><th>Größe</th><th>Text und Selektor</th></tr>\n");
        for (const TextFinding& f : r.findings) {
            if (f.verdict == TextVerdict::Pass)
                continue;
            QString backgrounds = swatch(f.backgroundLowest);
            if (!(f.backgroundLowest == f.backgroundHighest))
                backgrounds += QStringLiteral(" bis ") + swatch(f.backgroundHighest);
            html +=
                QStringLiteral(
                    "<tr><td class=\"%1\">%2</td><td>%3</td><td>%4<br>mindestens %5</td>"
                    "<td>Text %6<br>auf %7</td><td>%8</td><td>„%9“<br><code>%10</code></td></tr>\n")
                    .arg(f.verdict == TextVerdict::Fail ? QStringLiteral("fail")
                                                        : QStringLiteral("review"),
                         verdictName(f.verdict),
                         f.crop.empty() ? QStringLiteral("–")
                                        : QStringLiteral("<img alt=\"Ausschnitt\" src=\"%1\">")
                                              .arg(cropDataUri(f.crop)),
                         ratioRangeText(f), thresholdText(f.required), swatch(f.shownLowest),
                         backgrounds, sizeText(f).toHtmlEscaped(),
                         shownText(f.text.text, 120).toHtmlEscaped(),
                         f.text.selector.toHtmlEscaped());
        }
        html += QStringLiteral("</table>\n</section>\n");
    }
    html += QStringLiteral("</body>\n</html>\n");
    return html.toUtf8();
}

QString verdictName(TextVerdict verdict) {
    switch (verdict) {
    case TextVerdict::Fail:
        return QStringLiteral("nicht bestanden");
    case TextVerdict::Review:
        return QStringLiteral("prüfen");
    case TextVerdict::Pass:
        break;
    }
    return QStringLiteral("bestanden");
}

QString schemeName(PageScheme scheme) {
    return scheme == PageScheme::Dark ? QStringLiteral("dunkel") : QStringLiteral("hell");
}

QString skipReasonName(SkipReason reason) {
    switch (reason) {
    case SkipReason::Hidden:
        return QStringLiteral("verborgen");
    case SkipReason::OffScreen:
        return QStringLiteral("außerhalb der Seite");
    case SkipReason::Clipped:
        return QStringLiteral("abgeschnitten");
    case SkipReason::Transparent:
        return QStringLiteral("durchsichtig");
    case SkipReason::AriaHidden:
        return QStringLiteral("aria-hidden");
    case SkipReason::Disabled:
        return QStringLiteral("deaktiviert");
    case SkipReason::Invisible:
        return QStringLiteral("unsichtbar (Farbe wie der Hintergrund)");
    case SkipReason::Decorative:
        break;
    }
    return QStringLiteral("ohne Buchstaben oder Ziffern");
}

int SkipCounts::total() const {
    int sum = 0;
    for (int c : counts)
        sum += c;
    return sum;
}

} // namespace pigmora
