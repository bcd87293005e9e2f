#include "window_accessibility.h"

#include "accessibility/accessible_shape.h"
#include "base/hex_digit.h"
#include "base/sample_pair.h"
#include "click_label.h"
#include "contrast/wcag.h"
#include "editor/bevel.h"
#include "menu_tree.h"
#include "status_bar.h"
#include "window_layout.h"

#include <QAction>

namespace pigmora {

namespace {

// Rewrites the sample's description whenever its pair changes: inside the setter that changed
// it, right after the label's repaint, so a screen reader asking next finds the new pair.
void describeSample(QWidget* sample, const SamplePair& pair) {
    sample->setAccessibleDescription(
        QStringLiteral("Text %1 auf %2, Kontrast %3")
            .arg(hashHexText(pair.text(), LetterCase::Upper),
                 hashHexText(pair.background(), LetterCase::Upper),
                 ratioText(contrastRatio(pair.text(), pair.background()))));
}

} // namespace

void describeMainWindow(const WindowControls& controls, const MenuActions& menus,
                        const SamplePair& pair) {
    QWidget* sample = controls.lblTest;
    describeSample(sample, pair);
    QObject::connect(&pair, &SamplePair::changed, sample, [sample, &pair](SamplePair::Parts what) {
        if (what & (SamplePair::Text | SamplePair::Background))
            describeSample(sample, pair);
    });
    // The captions beside the sliders and the sample: the controls are named after them.
    for (const ChannelRow& row : controls.rows)
        setAccessibleHidden(row.label, true);
    setAccessibleHidden(controls.lblVorschau, true);

    PanelStatusBar* bar = controls.StatusBar1;
    setAccessibleRole(bar, QAccessible::StatusBar);
    for (int i = 1; i <= bar->panelCount(); ++i)
        if (bar->panel(i)->settings().sizing == PanelSettings::Sizing::Spring)
            setAccessibleHidden(bar->panel(i), true);
    StatusPanel* target = bar->panel(1);
    setAccessiblePress(
        target, [target] { emit target->clicked(); },
        [target] { return bevelOf(target) == Bevel::Inset; });
    QObject::connect(menus.mnuHinter, &QAction::toggled, target,
                     [target] { notifyAccessibleToggled(target); });
}

} // namespace pigmora
