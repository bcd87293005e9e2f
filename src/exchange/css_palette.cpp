#include "css_palette.h"

#include "base/german_locale.h"
#include "base/shown_text.h"
#include "css_colour/css_colour.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace pigmora {

namespace {

struct Declaration {
    QString name;     // without the dashes
    QString value;    // trimmed, without "!important"
    QString selector; // of the rule it stands in, the at-rules' preludes before it
    int line = 0;
};

QString collapsed(QStringView text) {
    return text.toString().simplified().left(80);
}

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') ||
           c.unicode() >= 0x80;
}

// The custom properties of a style sheet. Comments and strings are skipped; blocks nest.
class DeclarationScanner {
public:
    explicit DeclarationScanner(const QString& text)
        : t_(text) {}

    std::vector<Declaration> scan() {
        std::vector<Declaration> found;
        QStringList preludes; // of the outermost blocks; deeper ones are only counted
        int depth = 0;
        qsizetype start = 0; // where the current statement began
        while (i_ < t_.size()) {
            const QChar c = t_[i_];
            if (skipCommentOrString())
                continue;
            if (c == QLatin1Char('{')) {
                if (++depth <= maxNamedDepth)
                    preludes << collapsed(QStringView(t_).mid(start, i_ - start));
                start = ++i_;
            } else if (c == QLatin1Char('}')) {
                if (depth > 0 && depth-- <= maxNamedDepth)
                    preludes.removeLast();
                start = ++i_;
            } else if (c == QLatin1Char(';')) {
                start = ++i_;
            } else if (c == QLatin1Char('-') && i_ + 1 < t_.size() &&
                       t_[i_ + 1] == QLatin1Char('-') && depth > 0 &&
                       QStringView(t_).mid(start, i_ - start).trimmed().isEmpty()) {
                if (auto d = declaration(preludes))
                    found.push_back(std::move(*d));
                start = i_;
            } else {
                ++i_;
            }
        }
        return found;
    }

private:
    bool skipCommentOrString() {
        const QChar c = t_[i_];
        if (c == QLatin1Char('/') && i_ + 1 < t_.size() && t_[i_ + 1] == QLatin1Char('*')) {
            const qsizetype end = t_.indexOf(QStringLiteral("*/"), i_ + 2);
            i_ = end < 0 ? t_.size() : end + 2;
            return true;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            for (++i_; i_ < t_.size() && t_[i_] != c && t_[i_] != QLatin1Char('\n'); ++i_)
                if (t_[i_] == QLatin1Char('\\'))
                    ++i_;
            ++i_;
            return true;
        }
        return false;
    }

    // At "--": the name, the colon and the value up to the ";" or "}" that ends it.
    std::optional<Declaration> declaration(const QStringList& preludes) {
        const qsizetype nameStart = i_ + 2;
        qsizetype p = nameStart;
        while (p < t_.size() && isNameChar(t_[p]))
            ++p;
        Declaration d;
        d.name = t_.mid(nameStart, p - nameStart);
        while (p < t_.size() && t_[p].isSpace())
            ++p;
        if (d.name.isEmpty() || p >= t_.size() || t_[p] != QLatin1Char(':')) {
            i_ = p;
            return std::nullopt;
        }
        i_ = p + 1;
        const qsizetype valueStart = i_;
        int depth = 0;
        while (i_ < t_.size()) {
            if (skipCommentOrString())
                continue;
            const QChar c = t_[i_];
            if (c == QLatin1Char('(') || c == QLatin1Char('['))
                ++depth;
            else if ((c == QLatin1Char(')') || c == QLatin1Char(']')) && depth > 0)
                --depth;
            else if (depth == 0 &&
                     (c == QLatin1Char(';') || c == QLatin1Char('}') || c == QLatin1Char('{')))
                break;
            ++i_;
        }
        QString value = t_.mid(valueStart, i_ - valueStart).trimmed();
        static const QString important = QStringLiteral("!important");
        if (value.endsWith(important, Qt::CaseInsensitive))
            value = value.chopped(important.size()).trimmed();
        d.value = value;
        d.selector = preludes.join(QLatin1Char(' '));
        line_ += int(QStringView(t_).mid(counted_, nameStart - counted_).count(QLatin1Char('\n')));
        counted_ = nameStart;
        d.line = line_;
        return d;
    }

    static constexpr int maxNamedDepth = 32;
    const QString& t_;
    qsizetype i_ = 0;
    int line_ = 1;
    qsizetype counted_ = 0; // the lines before this are in line_
};

// "var(--name)" or "var(--name, fallback)": the name and the fallback.
std::optional<std::pair<QString, QString>> alias(const QString& value) {
    if (!value.startsWith(QLatin1String("var("), Qt::CaseInsensitive) ||
        !value.endsWith(QLatin1Char(')')))
        return std::nullopt;
    const QString inner = value.mid(4, value.size() - 5).trimmed();
    if (!inner.startsWith(QLatin1String("--")))
        return std::nullopt;
    const qsizetype comma = inner.indexOf(QLatin1Char(','));
    const QString name = (comma < 0 ? inner : inner.left(comma)).mid(2).trimmed();
    if (name.isEmpty() || !std::all_of(name.begin(), name.end(), isNameChar))
        return std::nullopt;
    return std::pair{name, comma < 0 ? QString() : inner.mid(comma + 1).trimmed()};
}

// Whether a value meant to be a colour: a hash or a colour function, which a reader must then
// read or refuse; anything else that is no colour is no colour property.
bool meantAsColour(const QString& value) {
    if (value.startsWith(QLatin1Char('#')))
        return true;
    static const char* functions[] = {"rgb(",   "rgba(",  "hsl(",       "hsla(",
                                      "hwb(",   "lab(",   "lch(",       "oklab(",
                                      "oklch(", "color(", "color-mix(", "light-dark("};
    for (const char* f : functions)
        if (value.startsWith(QLatin1String(f), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

namespace {

// What a declaration's value comes to once its var() are followed: the value, or why none.
struct Resolved {
    QString value;
    QString problem;
};

// Follows var() from declaration to declaration. Each declaration is followed once: the
// outcome is kept for every declaration of a chain, so many sharing a long chain cost no more
// than the chain.
class AliasResolver {
public:
    explicit AliasResolver(const std::vector<Declaration>& declarations)
        : d_(declarations)
        , state_(declarations.size(), State::Unknown)
        , resolved_(declarations.size()) {
        // QHash::insert replaces: going backwards, the first declaration of a name stays.
        for (std::size_t i = d_.size(); i-- > 0;) {
            first_.insert(d_[i].name, i);
            firstInRule_.insert({d_[i].name, d_[i].selector}, i);
        }
    }

    const Resolved& resolve(std::size_t index) {
        std::vector<std::size_t> chain;
        std::size_t at = index;
        Resolved outcome;
        for (;;) {
            if (state_[at] == State::Done) {
                outcome = resolved_[at];
                break;
            }
            if (state_[at] == State::Following) {
                outcome.problem = QStringLiteral("Die Verweise führen im Kreis.");
                break;
            }
            state_[at] = State::Following;
            chain.push_back(at);
            QString value = d_[at].value;
            std::optional<std::size_t> next;
            for (;;) { // the fallbacks of one value, each inside the one before
                const auto a = alias(value);
                if (!a) {
                    outcome.value = value;
                    break;
                }
                next = lookUp(a->first, d_[at].selector);
                if (next)
                    break;
                if (a->second.isEmpty()) {
                    outcome.problem =
                        QStringLiteral("Der Verweis auf --%1 führt zu keiner Custom Property.")
                            .arg(shownText(a->first, 40));
                    break;
                }
                value = a->second;
            }
            if (!next)
                break;
            at = *next;
        }
        for (std::size_t c : chain) {
            state_[c] = State::Done;
            resolved_[c] = outcome;
        }
        return resolved_[index];
    }

private:
    enum class State : quint8 { Unknown, Following, Done };

    // The name's declaration in the same rule, else its first one.
    std::optional<std::size_t> lookUp(const QString& name, const QString& selector) const {
        const auto inRule = firstInRule_.constFind({name, selector});
        if (inRule != firstInRule_.cend())
            return *inRule;
        const auto any = first_.constFind(name);
        if (any != first_.cend())
            return *any;
        return std::nullopt;
    }

    const std::vector<Declaration>& d_;
    std::vector<State> state_;
    std::vector<Resolved> resolved_;
    QHash<QString, std::size_t> first_;
    QHash<std::pair<QString, QString>, std::size_t> firstInRule_;
};

} // namespace

PaletteReading readCssPalette(const QByteArray& contents, qint64* skipped) {
    const QString text = QString::fromUtf8(contents);
    const std::vector<Declaration> declarations = DeclarationScanner(text).scan();
    AliasResolver aliases(declarations);

    PaletteReading reading;
    Palette palette;
    qint64 noColour = 0;
    QSet<QString> named;
    for (std::size_t i = 0; i < declarations.size(); ++i) {
        const Declaration& d = declarations[i];
        const Resolved& resolved = aliases.resolve(i);
        const auto refuse = [&](const QString& reason) {
            reading.refused.push_back({QStringLiteral("Zeile %1").arg(d.line),
                                       QStringLiteral("--") + shownText(d.name, 40), reason});
        };
        if (!resolved.problem.isEmpty()) {
            refuse(resolved.problem);
            continue;
        }
        const CssColourReading colour = readCssColour(resolved.value);
        if (!colour.colour) {
            if (meantAsColour(resolved.value))
                refuse(colour.error);
            else
                ++noColour;
            continue;
        }
        if (colour.alpha < 1) {
            refuse(notOpaqueText(shownText(resolved.value, 40), colour.alpha));
            continue;
        }
        PaletteEntry entry;
        entry.path = d.name;
        if (named.contains(d.name))
            entry.path += QStringLiteral(" [%1]").arg(d.selector);
        named.insert(d.name);
        entry.colour = *colour.colour;
        entry.approximated = colour.mapped;
        palette.entries.push_back(std::move(entry));
    }
    if (noColour > 0)
        reading.notes
            << QStringLiteral("%1 ohne Farbe übersprungen.")
                   .arg(noColour == 1
                            ? QStringLiteral("1 Custom Property")
                            : QStringLiteral("%1 Custom Properties").arg(germanNumber(noColour)));
    if (skipped)
        *skipped = noColour;
    reading.palettes.push_back(std::move(palette));
    return reading;
}

bool isCssFileName(const QString& fileName) {
    return fileName.endsWith(QLatin1String(".css"), Qt::CaseInsensitive);
}

PaletteReading readPaletteFilesWithCss(const QStringList& paths, qint64* skipped) {
    QStringList others, css;
    for (const QString& path : paths)
        (isCssFileName(path) ? css : others) << path;
    PaletteReading all;
    all.palettes.emplace_back();
    if (skipped)
        *skipped = 0;
    const auto take = [&all](PaletteReading& one) {
        for (Palette& p : one.palettes)
            for (PaletteEntry& e : p.entries)
                all.palettes.front().entries.push_back(std::move(e));
        for (RefusedEntry& r : one.refused)
            all.refused.push_back(std::move(r));
        all.notes += one.notes;
        all.nearMisses += one.nearMisses;
    };
    if (!others.isEmpty()) {
        PaletteReading one = readPaletteFiles(others);
        if (!one.error.isEmpty())
            return one;
        take(one);
    }
    for (const QString& path : css) {
        QByteArray contents;
        if (const auto reason = readImportFile(path, contents)) {
            PaletteReading failed;
            failed.error = importFileError(path, *reason);
            return failed;
        }
        qint64 count = 0;
        PaletteReading one = readCssPalette(contents, &count);
        if (skipped)
            *skipped += count;
        take(one);
    }
    return all;
}

} // namespace pigmora
