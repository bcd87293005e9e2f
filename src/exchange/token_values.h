#pragma once

#include "base/colour_value.h"
#include "ordered_json.h"

#include <QString>
#include <functional>
#include <optional>

// The value of a colour token: an object of the Color module (a colour space, its components,
// perhaps alpha and the hex fallback) or a CSS colour as a text, as older tools write it.
namespace pigmora {

struct TokenColour {
    std::optional<Rgb> colour;
    bool mapped = false; // outside sRGB, gamut-mapped into it
    QString reason;      // why it is no colour, in German; empty when it is one
    // What does not conform to the format and was read anyway, in German: a "hex" fallback
    // that is not six digits ("#fff"), which is not read in any case.
    QString note;
};

// A value in one of the trees of a document.
struct JsonNode {
    const OrderedJson* json = nullptr;
    OrderedJson::Index node = OrderedJson::none;
};

// Leads a JSON pointer ("#/base/blue/$value/components/0") to the value it points at, or
// gives nothing and why.
using PointerFollower =
    std::function<std::optional<JsonNode>(const QString& pointer, QString& reason)>;

// Reads the value of a colour token. Members of the value may be {"$ref": pointer} objects,
// which `follow` leads to their values. The components must lie in the ranges the Color module
// gives for their colour space (RGB and XYZ 0..1, hues from 0 up to 360, percentages 0..100,
// lightness of oklab and oklch 0..1, chroma from 0 up), alpha in 0..1, and only an opaque
// colour is taken.
TokenColour readTokenColour(JsonNode value, const PointerFollower& follow);
// A CSS colour text; only an opaque one is taken.
TokenColour cssTokenColour(const QString& css);

} // namespace pigmora
