#include "token_pairing.h"

#include "base/path_glob.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace pigmora {

namespace {

// The conventions, each a way of telling text from background in a path.
enum Convention : int {
    FgColorBgColor,
    FgBg,
    ForegroundBackground,
    TextBackground,
    OnDashX,
    OnX,
    XTextXBackground,
    conventionCount
};

QString conventionText(int convention, bool roleFirst) {
    switch (convention) {
    case FgColorBgColor:
        return QStringLiteral("„fgColor.X“ und „bgColor.X“");
    case FgBg:
        return roleFirst ? QStringLiteral("„fg.X“ und „bg.X“")
                         : QStringLiteral("Geschwister „fg“ und „bg“");
    case ForegroundBackground:
        return roleFirst ? QStringLiteral("„foreground.X“ und „background.X“")
                         : QStringLiteral("Geschwister „foreground“ und „background“");
    case TextBackground:
        return roleFirst ? QStringLiteral("„text.X“ und „background.X“")
                         : QStringLiteral("Geschwister „text“ und „background“");
    case OnDashX:
        return QStringLiteral("„on-X“ und „X“");
    case OnX:
        return QStringLiteral("„onX“ und „X“");
    case XTextXBackground:
        return QStringLiteral("„XText“ und „XBackground“");
    }
    return {};
}

struct RoleWord {
    QLatin1String text, background;
    int convention;
};
constexpr RoleWord roleWords[] = {
    {QLatin1String("fgColor"), QLatin1String("bgColor"), FgColorBgColor},
    {QLatin1String("fg"), QLatin1String("bg"), FgBg},
    {QLatin1String("foreground"), QLatin1String("background"), ForegroundBackground},
    {QLatin1String("text"), QLatin1String("background"), TextBackground},
};

QString joined(const QStringList& names, qsizetype from, qsizetype skip) {
    QString key;
    for (qsizetype i = from; i < names.size(); ++i) {
        if (i == skip)
            continue;
        if (!key.isEmpty())
            key += QLatin1Char('.');
        key += names[i];
    }
    return key;
}

QString withoutRoot(QString key) {
    if (key == QLatin1String("$root"))
        return {};
    if (key.endsWith(QLatin1String(".$root")))
        key.chop(6);
    return key;
}

// For each key its shortest last names that no other key ends in the same way.
QStringList shortestSuffixes(const QStringList& keys) {
    std::vector<QStringList> names;
    names.reserve(size_t(keys.size()));
    for (const QString& key : keys)
        names.push_back(key.split(QLatin1Char('.')));
    std::vector<qsizetype> take(names.size(), 1);
    const auto suffix = [&](size_t i) {
        const QStringList& n = names[i];
        const qsizetype k = std::min(take[i], n.size());
        return n.mid(n.size() - k).join(QLatin1Char('.'));
    };
    for (bool changed = true; changed;) {
        changed = false;
        QHash<QString, std::vector<size_t>> bySuffix;
        for (size_t i = 0; i < names.size(); ++i)
            bySuffix[suffix(i)].push_back(i);
        for (auto it = bySuffix.cbegin(); it != bySuffix.cend(); ++it) {
            if (it->size() < 2)
                continue;
            for (const size_t i : *it)
                if (take[i] < names[i].size()) {
                    ++take[i];
                    changed = true;
                }
        }
    }
    QStringList out;
    for (size_t i = 0; i < names.size(); ++i)
        out.append(suffix(i));
    return out;
}

} // namespace

Pairing pairByRole(const QStringList& paths, const PairingRules& rules,
                   const std::vector<bool>& taken) {
    Pairing pairing;
    const auto isTaken = [&taken](qsizetype i) {
        return size_t(i) < taken.size() && taken[size_t(i)];
    };
    if (rules.explicitRules()) {
        if (rules.text.isEmpty() || rules.background.isEmpty()) {
            pairing.error = QStringLiteral("Eine Regel braucht beide Muster: eines für den Text "
                                           "(--text) und eines für den Hintergrund "
                                           "(--background).");
            return pairing;
        }
        for (const QString* glob : {&rules.text, &rules.background})
            if (glob->split(QLatin1Char('.')).contains(QString()))
                pairing.error =
                    QStringLiteral("Das Muster „%1“ hat einen leeren Namen (zwei Punkte "
                                   "nacheinander oder einen am Rand).")
                        .arg(glob->left(80));
        if (!pairing.error.isEmpty())
            return pairing;
        std::vector<std::pair<int, QString>> texts, backgrounds;
        for (qsizetype i = 0; i < paths.size(); ++i) {
            if (isTaken(i))
                continue;
            if (const auto c = globCapture(rules.text, paths[i]))
                texts.emplace_back(int(i), *c);
            if (const auto c = globCapture(rules.background, paths[i]))
                backgrounds.emplace_back(int(i), *c);
        }
        if (rules.sameRole) {
            QHash<QString, std::vector<int>> byKey;
            for (const auto& [index, key] : backgrounds)
                byKey[key].push_back(index);
            for (const auto& [index, key] : texts) {
                const auto found = byKey.constFind(key);
                if (found == byKey.cend())
                    continue;
                for (const int b : *found)
                    if (b != index)
                        pairing.pairs.push_back({index, b, -1});
            }
        } else {
            pairing.pairs.reserve(texts.size() * backgrounds.size());
            for (const auto& t : texts)
                for (const auto& b : backgrounds)
                    if (b.first != t.first)
                        pairing.pairs.push_back({t.first, b.first, -1});
        }
        pairing.conventions << QStringLiteral("Regel: Text „%1“, Hintergrund „%2“%3: %4 Paare")
                                   .arg(rules.text.left(80), rules.background.left(80),
                                        rules.sameRole ? QStringLiteral(", gleiche Rolle")
                                                       : QString())
                                   .arg(pairing.pairs.size());
        return pairing;
    }

    // The conventions: each path gives the keys under which it is a text or a background.
    struct Role {
        int convention;
        bool roleFirst;
        QString key;
    };
    QHash<QString, std::vector<int>> backgroundsByKey[conventionCount];
    std::vector<std::vector<Role>> textRoles(size_t(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (isTaken(i))
            continue;
        const QStringList names = paths[i].split(QLatin1Char('.'));
        const qsizetype last = names.size() - 1;
        for (qsizetype s = 0; s < names.size(); ++s) {
            for (const RoleWord& word : roleWords) {
                // A role first in the path has more after it; the last name is a sibling.
                const bool roleFirst = s < last;
                if (names[s] == word.text)
                    textRoles[size_t(i)].push_back(
                        {word.convention, roleFirst, joined(names, 0, s)});
                if (names[s] == word.background)
                    backgroundsByKey[word.convention][joined(names, 0, s)].push_back(int(i));
            }
        }
        const QString& name = names[last];
        const QString head = last > 0 ? joined(names, 0, last) + QLatin1Char('.') : QString();
        if (name.startsWith(QLatin1String("on-")) && name.size() > 3)
            textRoles[size_t(i)].push_back({OnDashX, false, head + name.mid(3)});
        if (name.size() > 2 && name.startsWith(QLatin1String("on")) && name[2].isUpper())
            textRoles[size_t(i)].push_back(
                {OnX, false, head + name.mid(2, 1).toLower() + name.mid(3)});
        for (const int c : {OnDashX, OnX})
            backgroundsByKey[c][paths[i]].push_back(int(i));
        const auto camel = [&](QLatin1String role) {
            return name.size() > role.size() && name.endsWith(role) &&
                   !name[name.size() - role.size() - 1].isUpper();
        };
        if (camel(QLatin1String("Text")))
            textRoles[size_t(i)].push_back({XTextXBackground, false, head + name.chopped(4)});
        if (camel(QLatin1String("Background")))
            backgroundsByKey[XTextXBackground][head + name.chopped(10)].push_back(int(i));
    }
    qint64 counts[conventionCount][2] = {};
    QSet<quint64> made;
    QHash<QString, int> keyNumbers;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        for (const Role& role : textRoles[size_t(i)]) {
            const auto found = backgroundsByKey[role.convention].constFind(role.key);
            if (found == backgroundsByKey[role.convention].cend())
                continue;
            for (const int b : *found) {
                if (b == int(i))
                    continue;
                const quint64 id = quint64(quint32(i)) << 32 | quint32(b);
                if (made.contains(id))
                    continue;
                made.insert(id);
                auto number = keyNumbers.constFind(role.key);
                if (number == keyNumbers.cend()) {
                    number = keyNumbers.insert(role.key, int(pairing.keys.size()));
                    pairing.keys.append(role.key);
                }
                pairing.pairs.push_back({int(i), b, *number});
                ++counts[role.convention][role.roleFirst ? 1 : 0];
            }
        }
    }
    for (int c = 0; c < conventionCount; ++c)
        for (int first = 0; first < 2; ++first)
            if (counts[c][first] > 0)
                pairing.conventions << QStringLiteral("%1: %2 %3")
                                           .arg(conventionText(c, first == 1))
                                           .arg(counts[c][first])
                                           .arg(counts[c][first] == 1 ? QStringLiteral("Paar")
                                                                      : QStringLiteral("Paare"));
    return pairing;
}

QString shortenedFromLeft(const QString& name, qsizetype room) {
    if (name.size() <= room)
        return name;
    qsizetype from = name.size() - (room - 1);
    if (from < name.size() && name[from].isLowSurrogate())
        ++from;
    return QChar(0x2026) + name.mid(from);
}

QStringList pairNames(const QStringList& paths, const Pairing& pairing, const PairingRules& rules,
                      const QStringList& reserved, const QString& prefix) {
    QStringList names;
    names.reserve(qsizetype(pairing.pairs.size()));
    if (rules.explicitRules()) {
        const auto key = [](const QString& glob, const QString& path) {
            QString k = withoutRoot(globCapture(glob, path).value_or(QString()));
            return k.isEmpty() ? path.section(QLatin1Char('.'), -1) : k;
        };
        QStringList textKeys, backgroundKeys;
        for (const RolePair& p : pairing.pairs) {
            textKeys.append(key(rules.text, paths[p.text]));
            backgroundKeys.append(key(rules.background, paths[p.background]));
        }
        // Each side told apart among its own kind.
        QStringList distinctTexts = textKeys, distinctBackgrounds = backgroundKeys;
        {
            QStringList t = textKeys, b = backgroundKeys;
            t.removeDuplicates();
            b.removeDuplicates();
            const QStringList st = shortestSuffixes(t), sb = shortestSuffixes(b);
            QHash<QString, QString> tm, bm;
            for (qsizetype i = 0; i < t.size(); ++i)
                tm.insert(t[i], st[i]);
            for (qsizetype i = 0; i < b.size(); ++i)
                bm.insert(b[i], sb[i]);
            for (qsizetype i = 0; i < textKeys.size(); ++i) {
                distinctTexts[i] = tm.value(textKeys[i]);
                distinctBackgrounds[i] = bm.value(backgroundKeys[i]);
            }
        }
        for (qsizetype i = 0; i < textKeys.size(); ++i)
            names.append(textKeys[i] == backgroundKeys[i]
                             ? distinctTexts[i]
                             : distinctTexts[i] + QStringLiteral(" auf ") + distinctBackgrounds[i]);
    } else {
        QStringList keys;
        for (const QString& key : pairing.keys)
            keys.append(withoutRoot(key));
        const QStringList shortKeys = shortestSuffixes(keys);
        for (const RolePair& p : pairing.pairs) {
            QString name = p.key >= 0 ? shortKeys[p.key] : QString();
            names.append(name.isEmpty() ? paths[p.text] : name);
        }
    }
    // At most 30 characters, shortened from the left; then all distinct.
    QSet<QString> used(reserved.cbegin(), reserved.cend());
    const qsizetype room = 30 - prefix.size();
    for (QString& name : names) {
        QString candidate = prefix + shortenedFromLeft(name, room);
        for (int n = 2; used.contains(candidate); ++n) {
            const QString tail = QStringLiteral("-%1").arg(n);
            candidate = prefix + shortenedFromLeft(name, room - tail.size()) + tail;
        }
        used.insert(candidate);
        name = candidate;
    }
    return names;
}

} // namespace pigmora
