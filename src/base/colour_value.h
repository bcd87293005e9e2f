#pragma once

#include <cstdint>

namespace pigmora {

// One colour channel, 0 to 255.
using ChannelValue = std::uint8_t;

// A 24-bit colour in the platform's order: red in the low byte, then green, then blue.
using ColourValue = std::uint32_t;

struct Rgb {
    ChannelValue red = 0;
    ChannelValue green = 0;
    ChannelValue blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr ColourValue packColour(Rgb c) {
    return ColourValue(c.red) + 256u * c.green + 65536u * c.blue;
}

constexpr Rgb unpackColour(ColourValue v) {
    return Rgb{ChannelValue(v & 0xFF), ChannelValue((v >> 8) & 0xFF),
               ChannelValue((v >> 16) & 0xFF)};
}

// The three channels of the editor, always handled in this order.
enum class Channel { Red = 0, Green = 1, Blue = 2 };
inline constexpr Channel allChannels[] = {Channel::Red, Channel::Green, Channel::Blue};

} // namespace pigmora
