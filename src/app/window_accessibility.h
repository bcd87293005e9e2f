#pragma once

namespace pigmora {

class SamplePair;
struct MenuActions;
struct WindowControls;

// What the main window tells assistive technology beyond the names of its controls, without
// changing anything it shows or does:
// - the captions of the channels and of the sample are left out: the sliders, boxes and the
//   sample are named after them, so each is read once;
// - the sample's description names the pair it shows and its contrast ("Text #777777 auf
//   #FFFFFF, Kontrast 4,47:1") and follows every change of the pair;
// - the status bar is a status bar, its empty spring panel is left out, and the "Hintergrund"
//   panel is a toggle, pressed while the background is edited, that a screen reader can press
//   as the mouse clicks it.
void describeMainWindow(const WindowControls& controls, const MenuActions& menus,
                        const SamplePair& pair);

} // namespace pigmora
