#pragma once

#include <cstdint>

namespace pigmora {

// The two bytes of editor state the main window keeps. Where a mode is tested, 1 is tested for
// and every other value counts as the second state.
struct EditorState {
    std::uint8_t bytmodus = 0; // 1 decimal, 2 hexadecimal number mode (chooses the copy format)
    std::uint8_t bytziel = 0;  // 1 the channels edit the text colour, 2 the background
};

} // namespace pigmora
