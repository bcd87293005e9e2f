#pragma once

#include "base/path_glob.h"

#include <QString>
#include <QStringList>
#include <vector>

// Schemes made from a palette by the roles its paths give: which token is a text colour and
// which the background it stands on. No widgets.
namespace pigmora {

struct PairingRules {
    // Globs over the full path ("fgColor.*", "color.text.**"; base/path_glob.h): "*" is one
    // name (or, inside a name, any characters of it), "**" any number of names. Both empty: the
    // conventions.
    QString text;
    QString background;
    // Only pairs whose paths agree once the role part (what the globs name literally) is
    // removed; otherwise every text token with every background token.
    bool sameRole = false;
    bool explicitRules() const { return !text.isEmpty() || !background.isEmpty(); }
};

struct RolePair {
    int text;       // in the list of paths
    int background; // in the list of paths
    int key;        // in Pairing::keys: the path without the role; -1 for a pair of the globs
};

struct Pairing {
    std::vector<RolePair> pairs; // in the order of the text tokens, then the backgrounds
    QStringList keys;
    // For the preview: each convention or rule that paired, with how many pairs, in German.
    QStringList conventions;
    // Why the rules cannot be used (a glob without a name, one of the two missing), in German.
    QString error;
};

// Pairs the paths (of a palette's entries, in its order). Paths that `taken` marks are left
// out (those today's rule already paired). Without explicit rules the conventions of real
// systems are tried: siblings "text"/"background", "fg"/"bg", "foreground"/"background",
// "on-X"/"X", "onX"/"X", "XText"/"XBackground"; role-first trees ("fgColor.X" with "bgColor.X",
// "color.text.X" with "color.background.X"), "$root" tokens among them.
Pairing pairByRole(const QStringList& paths, const PairingRules& rules,
                   const std::vector<bool>& taken = {});

// The scheme names of the pairs: the key's shortest last names that tell it from every other
// ("primary", else "button.primary"), a trailing "$root" left out; names of more than 30
// characters shortened from the left with "…"; all distinct ("-2" where nothing else tells).
// `reserved` are names the result must not take (those of today's rule).
// `prefix` ("dark/") stands before each name and is never shortened.
QStringList pairNames(const QStringList& paths, const Pairing& pairing, const PairingRules& rules,
                      const QStringList& reserved = {}, const QString& prefix = {});

// `name` in at most `room` characters: cut from the left, with "…" in front.
QString shortenedFromLeft(const QString& name, qsizetype room);

} // namespace pigmora
