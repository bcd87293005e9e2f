#include "widget_colours.h"

#include "base/sample_pair.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace pigmora {

ColourValue fromQColor(const QColor& c) {
    return packColour(Rgb{ChannelValue(c.red()), ChannelValue(c.green()), ChannelValue(c.blue())});
}

QColor toQColor(ColourValue v) {
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

namespace {

void setRoleColour(QWidget* w, QPalette::ColorRole role, ColourValue v) {
    QPalette p = w->palette();
    // All colour groups, so the label looks the same whether the window is active or not.
    p.setColor(role, toQColor(v));
    w->setPalette(p);
}

} // namespace

ColourValue foreColour(const QWidget* w) {
    return fromQColor(w->palette().color(w->foregroundRole()));
}

ColourValue backColour(const QWidget* w) {
    return fromQColor(w->palette().color(w->backgroundRole()));
}

void setForeColour(QWidget* w, ColourValue v) {
    setRoleColour(w, w->foregroundRole(), v);
}

void setBackColour(QWidget* w, ColourValue v) {
    w->setAutoFillBackground(true);
    setRoleColour(w, w->backgroundRole(), v);
}

void showPairOn(SamplePair& pair, QWidget* label) {
    setForeColour(label, packColour(pair.text()));
    setBackColour(label, packColour(pair.background()));
    QObject::connect(&pair, &SamplePair::changed, label, [&pair, label](SamplePair::Parts what) {
        if (what & SamplePair::Text)
            setForeColour(label, packColour(pair.text()));
        if (what & SamplePair::Background)
            setBackColour(label, packColour(pair.background()));
    });
}

} // namespace pigmora
