#include "window_layout.h"

#include "channel_box.h"
#include "channel_slider.h"
#include "click_label.h"
#include "editor/widget_colours.h"
#include "scheme_list.h"
#include "status_bar.h"

#include <QFont>
#include <QPushButton>
#include <QStringList>

namespace pigmora {

namespace {

// Liberation Sans and Serif are metric-compatible stand-ins where the two classic faces are
// missing.
QFont arial(double points) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(points);
    return font;
}

QFont timesNewRoman(double points) {
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")});
    font.setPointSizeF(points);
    return font;
}

template <typename Widget> Widget* place(Widget* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(geometry);
    return widget;
}

// Labels paint their background and wrap their text at their width; the text starts at the top.
template <typename Label = QLabel>
Label* label(QWidget* parent, const char* name, const QString& text, QRect geometry,
             const QFont& font, bool centred) {
    auto* l = place(new Label(text, parent), name, geometry);
    l->setFont(font);
    l->setWordWrap(true);
    l->setAutoFillBackground(true);
    l->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    return l;
}

struct RowLayout {
    const char* label;
    const char* slider;
    const char* decimalBox;
    const char* hexBox;
    const char* caption;
    int top; // twips, of label and boxes; the slider starts 120 twips higher
    bool greenToolTip;
};

constexpr RowLayout rowLayouts[] = {
    {"lblRot", "sldRot", "txtRot", "txtRotHex", "Rot", 480, false},
    {"lblGrün", "sldGrün", "txtGrün", "txtGrünHex", "Grün", 1080, true},
    {"lblBlau", "sldBlau", "txtBlau", "txtBlauHex", "Blau", 1680, false},
};

ChannelRow buildRow(QWidget* client, const RowLayout& r) {
    ChannelRow row;
    row.label = label(client, r.label, QString::fromUtf8(r.caption),
                      twipsRect(240, r.top, 1215, 375), arial(12), true);
    row.slider =
        place(new ChannelSlider(client), r.slider, twipsRect(1680, r.top - 120, 3855, 495));

    row.decimalBox = place(new ChannelBox(client), r.decimalBox, twipsRect(5640, r.top, 495, 375));
    row.decimalBox->setFont(arial(12));
    row.decimalBox->setText(QStringLiteral("0"));
    // The limit also cuts text the program writes, but the program only ever writes the decimal
    // text of a channel (at most "255") into these boxes, so only typing and pasting feel it.
    row.decimalBox->setMaxLength(3);

    // Display only: the program writes it, nobody edits or focuses it.
    row.hexBox = place(new QLineEdit(client), r.hexBox, twipsRect(6720, r.top, 495, 375));
    row.hexBox->setFont(arial(12));
    row.hexBox->setText(QStringLiteral("0"));
    row.hexBox->setEnabled(false);

    // Screen readers name each control after the label it stands beside.
    const QString caption = QString::fromUtf8(r.caption);
    row.slider->setAccessibleName(caption);
    row.decimalBox->setAccessibleName(caption + QStringLiteral(" Dez"));
    row.hexBox->setAccessibleName(caption + QStringLiteral(" Hex"));

    if (r.greenToolTip) {
        row.decimalBox->setToolTip(QStringLiteral("Grünwert"));
        row.hexBox->setToolTip(QStringLiteral("Grünwert"));
    }
    return row;
}

PanelStatusBar* buildStatusBar(QWidget* client) {
    auto* bar = place(new PanelStatusBar(client), "StatusBar1", twipsRect(0, 4605, 7935, 375));
    using S = PanelSettings;
    bar->addPanel({QStringLiteral("Hintergrund"), QStringLiteral("Hintergrund"),
                   QStringLiteral("Gibt an, welche Farbe gerade ausgewählt wird"),
                   twipsToPixels(800), S::Sizing::FitText, Qt::AlignHCenter, Bevel::Inset,
                   S::Style::Text});
    bar->addPanel({QString(), QString(), QString(), twipsToPixels(5000), S::Sizing::Spring,
                   Qt::AlignLeft, Bevel::None, S::Style::Text});
    bar->addPanel({QString(), QString(), QStringLiteral("Uhrzeit"), twipsToPixels(800),
                   S::Sizing::FitText, Qt::AlignHCenter, Bevel::Inset, S::Style::Time});
    bar->addPanel({QString(), QString(), QStringLiteral("Datum"), twipsToPixels(700),
                   S::Sizing::FitText, Qt::AlignHCenter, Bevel::Inset, S::Style::Date});
    return bar;
}

} // namespace

QString sampleText() {
    QStringList words;
    for (int i = 0; i < 60; ++i)
        words << QStringLiteral("Text");
    return words.join(QLatin1Char(' '));
}

WindowControls buildWindowLayout(QWidget* client) {
    WindowControls c;
    for (int i = 0; i < 3; ++i)
        c.rows[i] = buildRow(client, rowLayouts[i]);

    c.lblDez = label<ClickLabel>(client, "lblDez", QStringLiteral("Dez"),
                                 twipsRect(5700, 0, 375, 285), timesNewRoman(12), true);
    c.lblHex = label<ClickLabel>(client, "lblHex", QStringLiteral("Hex"),
                                 twipsRect(6765, 0, 405, 285), timesNewRoman(12), true);
    setForeColour(c.lblHex, 0x808080);

    c.lblVorschau = label(client, "lblVorschau", QStringLiteral("Vorschau:"),
                          twipsRect(240, 2400, 1215, 375), arial(12), true);
    c.lblTest = label<ClickLabel>(client, "lblTest", sampleText(),
                                  twipsRect(1680, 2400, 5535, 1335), timesNewRoman(9.75), false);
    c.lblTest->setAccessibleName(QStringLiteral("Vorschau"));
    // Black on black: the pair it shows starts so, and the window paints it from the pair.

    c.cmdNeueFarbe = place(new QPushButton(QStringLiteral("&Neu"), client), "cmdNeueFarbe",
                           twipsRect(240, 3960, 615, 315));
    c.cmdWeg = place(new QPushButton(QStringLiteral("&löschen"), client), "cmdWeg",
                     twipsRect(960, 3960, 975, 315));
    c.cmbFarbe = place(new SchemeList(client), "cmbFarbe", twipsRect(2040, 3960, 5175, 315));
    c.cmbFarbe->setAccessibleName(QStringLiteral("Farbschema"));
    c.StatusBar1 = buildStatusBar(client);

    // Tab visits the boxes, the scheme row, then the sliders with blue before green.
    const auto& [red, green, blue] = c.rows;
    QWidget* order[] = {red.decimalBox, green.decimalBox, blue.decimalBox,
                        c.cmbFarbe,     c.cmdNeueFarbe,   c.cmdWeg,
                        red.slider,     blue.slider,      green.slider};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    return c;
}

} // namespace pigmora
