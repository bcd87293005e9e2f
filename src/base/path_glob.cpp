#include "path_glob.h"

#include <vector>

namespace pigmora {

namespace {

std::vector<QStringView> namesOf(QStringView text) {
    std::vector<QStringView> names;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i)
        if (i == text.size() || text[i] == QLatin1Char('.')) {
            names.push_back(text.mid(from, i - from));
            from = i + 1;
        }
    return names;
}

bool isDeep(QStringView name) {
    return name == QLatin1String("**");
}

// One name against one name's glob: the classic walk that, on a mismatch, only ever moves
// the last "*" on by one character.
bool nameMatches(QStringView glob, QStringView name) {
    qsizetype g = 0, n = 0, star = -1, resume = 0;
    while (n < name.size()) {
        if (g < glob.size() && glob[g] == QLatin1Char('*')) {
            star = g++;
            resume = n;
        } else if (g < glob.size() && glob[g] == name[n]) {
            ++g;
            ++n;
        } else if (star >= 0) {
            g = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob[g] == QLatin1Char('*'))
        ++g;
    return g == glob.size();
}

bool runMatches(const std::vector<QStringView>& glob, std::size_t from, std::size_t count,
                const std::vector<QStringView>& path, std::size_t at) {
    for (std::size_t i = 0; i < count; ++i)
        if (!nameMatches(glob[from + i], path[at + i]))
            return false;
    return true;
}

// Where each name of the glob starts in the path, when the glob matches it. The names before
// the first "**" and after the last are fixed at the path's two ends; each run between two
// "**" is placed at its first place that fits, which leaves the most room for the runs after
// it, so no placement is ever taken back.
std::optional<std::vector<std::size_t>> placement(const std::vector<QStringView>& glob,
                                                  const std::vector<QStringView>& path) {
    std::vector<std::size_t> at(glob.size(), 0);
    std::size_t first = glob.size(), last = glob.size();
    for (std::size_t i = 0; i < glob.size(); ++i)
        if (isDeep(glob[i])) {
            if (first == glob.size())
                first = i;
            last = i;
        }
    if (first == glob.size()) {
        if (glob.size() != path.size() || !runMatches(glob, 0, glob.size(), path, 0))
            return std::nullopt;
        for (std::size_t i = 0; i < glob.size(); ++i)
            at[i] = i;
        return at;
    }
    const std::size_t tail = glob.size() - last - 1;
    if (first + tail > path.size() || !runMatches(glob, 0, first, path, 0) ||
        !runMatches(glob, last + 1, tail, path, path.size() - tail))
        return std::nullopt;
    for (std::size_t i = 0; i < first; ++i)
        at[i] = i;
    const std::size_t end = path.size() - tail;
    std::size_t p = first;
    for (std::size_t g = first; g < last;) {
        // glob[g] is "**"; the run after it goes up to the next "**".
        std::size_t next = g + 1;
        while (!isDeep(glob[next]))
            ++next;
        const std::size_t length = next - g - 1;
        at[g] = p;
        std::size_t start = p;
        while (start + length <= end && !runMatches(glob, g + 1, length, path, start))
            ++start;
        if (start + length > end)
            return std::nullopt;
        for (std::size_t i = 0; i < length; ++i)
            at[g + 1 + i] = start + i;
        p = start + length;
        g = next;
    }
    at[last] = p;
    for (std::size_t i = 0; i < tail; ++i)
        at[last + 1 + i] = end + i;
    return at;
}

} // namespace

bool globMatches(const QString& pattern, const QString& path) {
    return placement(namesOf(pattern), namesOf(path)).has_value();
}

std::optional<QString> globCapture(const QString& pattern, const QString& path) {
    const std::vector<QStringView> glob = namesOf(pattern), names = namesOf(path);
    const auto at = placement(glob, names);
    if (!at)
        return std::nullopt;
    QStringList captured;
    const auto take = [&](QStringView name) { captured.append(name.toString()); };
    for (std::size_t g = 0; g < glob.size(); ++g) {
        if (isDeep(glob[g])) {
            const std::size_t end = g + 1 < glob.size() ? (*at)[g + 1] : names.size();
            for (std::size_t i = (*at)[g]; i < end; ++i)
                take(names[i]);
        } else if (glob[g] == QLatin1String("*")) {
            take(names[(*at)[g]]);
        }
    }
    return captured.join(QLatin1Char('.'));
}

} // namespace pigmora
