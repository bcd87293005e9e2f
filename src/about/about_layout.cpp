#include "about_layout.h"

#include "accessibility/accessible_shape.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace pigmora {

namespace {

// Positions are given in twips; 15 twips make one pixel at 96 dots per inch.
constexpr int px(int twips) {
    return twips / 15;
}
constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

template <typename Widget> Widget* place(Widget* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(geometry);
    return widget;
}

void setTextColour(QWidget* w, QColor colour) {
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, colour);
    w->setPalette(palette);
}

// Labels wrap their text at their width; the text starts at the top left.
QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry, bool black) {
    auto* l = place(new QLabel(text, parent), name, geometry);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (black)
        setTextColour(l, Qt::black);
    return l;
}

// A horizontal line from x1 to x2 at y (twips), `thickness` pixels thick, drawn downwards.
QFrame* line(QWidget* parent, const char* name, int x1, int x2, int y, int thickness,
             QColor colour) {
    auto* l = place(new QFrame(parent), name, QRect(px(x1), px(y), px(x2) - px(x1), thickness));
    QPalette palette = l->palette();
    palette.setColor(QPalette::Window, colour);
    l->setPalette(palette);
    l->setAutoFillBackground(true);
    return l;
}

} // namespace

AboutControls buildAboutLayout(QWidget* client) {
    AboutControls c;
    c.picIcon = place(new QLabel(client), "picIcon", twipsRect(120, 120, 810, 810));
    c.picIcon->setPixmap(QPixmap(QStringLiteral(":/about/pigmora-50.bmp")));
    c.picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.picIcon->setAccessibleName(QStringLiteral("Pigmora-Symbol"));

    c.lblTitle =
        label(client, "lblTitle", QStringLiteral("Pigmora"), twipsRect(1050, 240, 3885, 480), true);
    QFont bold;
    bold.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans")});
    bold.setPointSizeF(9.75);
    bold.setBold(true);
    c.lblTitle->setFont(bold);

    c.lblVersion = label(client, "lblVersion", QStringLiteral("Version"),
                         twipsRect(1050, 780, 3885, 225), false);
    c.lblDescription =
        label(client, "lblDescription",
              QStringLiteral("Programm zum Erstellen verschiedener Farbschemata für Homepages"),
              twipsRect(1050, 1125, 3885, 1170), true);

    // The etched separator: a grey line with a white one just below it.
    c.Line1[1] = line(client, "Line1_1", 90, 5654, 2445, 1, QColor(0x80, 0x80, 0x80));
    c.Line1[0] = line(client, "Line1_0", 105, 5654, 2460, 2, Qt::white);
    // For a screen reader the two are one separator.
    setAccessibleRole(c.Line1[1], QAccessible::Separator);
    setAccessibleHidden(c.Line1[0], true);

    c.lblDisclaimer = label(client, "lblDisclaimer", QStringLiteral("© 2026 Das Pigmora-Team"),
                            twipsRect(255, 2625, 3870, 225), true);
    c.Label1 = label(client, "Label1", QStringLiteral("www.pigmora.example.org"),
                     twipsRect(240, 3000, 2655, 375), false);

    c.cmdOK = place(new QPushButton(QStringLiteral("OK"), client), "cmdOK",
                    twipsRect(4245, 2625, 1260, 345));
    c.cmdOK->setDefault(true);
    c.cmdSysInfo = place(new QPushButton(QStringLiteral("&Systeminfo..."), client), "cmdSysInfo",
                         twipsRect(4260, 3075, 1245, 345));
    QWidget::setTabOrder(c.cmdOK, c.cmdSysInfo);
    return c;
}

} // namespace pigmora
