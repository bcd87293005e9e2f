#include "window_accessibility.h"

#include "accessibility/accessible_shape.h"
#include "click_label.h"
#include "contrast/wcag.h"
#include "editor/bevel.h"
#include "editor/text_forms.h"
#include "editor/widget_colours.h"
#include "menu_tree.h"
#include "status_bar.h"
#include "window_layout.h"

#include <QAction>
#include <QEvent>

namespace pigmora {

namespace {

Rgb channelsOf(ColourValue colour) {
    return HexZerlegen(colourValueText(colour));
}

// Rewrites the sample's description whenever its palette changes: inside the setter that
// changed it, so a screen reader asking next finds the new pair.
class SampleDescription : public QObject {
public:
    explicit SampleDescription(QWidget* sample)
        : QObject(sample)
        , sample_(sample) {
        sample->installEventFilter(this);
        describe();
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange)
            describe();
        return false;
    }

private:
    void describe() {
        const Rgb text = channelsOf(foreColour(sample_));
        const Rgb background = channelsOf(backColour(sample_));
        sample_->setAccessibleDescription(QStringLiteral("Text #%1 auf #%2, Kontrast %3")
                                              .arg(sixDigitColourText(text),
                                                   sixDigitColourText(background),
                                                   ratioText(contrastRatio(text, background))));
    }

    QWidget* sample_;
};

} // namespace

void describeMainWindow(const WindowControls& controls, const MenuActions& menus) {
    new SampleDescription(controls.lblTest);
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
