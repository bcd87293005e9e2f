#include "kontrast_layout.h"

#include "accessibility/accessible_shape.h"
#include "value_label.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pigmora {

namespace {

// A section: a bold title and below it a framed panel, which paints no background of its own,
// so the opaque labels on it match the window. A screen reader meets the title once, as the
// name of the group.
QFrame* section(QWidget* parent, const char* name, const char* titleName, const char* title,
                QLabel** titleLabel) {
    const QString text = QString::fromUtf8(title);
    *titleLabel = namedLabel(parent, titleName, text, text);
    QFont bold = (*titleLabel)->font();
    bold.setBold(true);
    (*titleLabel)->setFont(bold);
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromUtf8(name));
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setAccessibleRole(frame, QAccessible::Grouping);
    frame->setAccessibleName(text);
    setAccessibleHidden(*titleLabel, true);
    return frame;
}

// A caption in column 0 and its value in column 1 of `grid`. The value's accessible name
// carries the caption, so the caption itself is not read again.
QLabel* captionedValue(QWidget* parent, QGridLayout* grid, int row, const char* captionName,
                       const char* valueName, const char* caption, QLabel** captionLabel) {
    const QString text = QString::fromUtf8(caption);
    *captionLabel = namedLabel(parent, captionName, text, text);
    setAccessibleHidden(*captionLabel, true);
    QLabel* value = namedLabel(parent, valueName, QString(), text);
    reserveWidth(value, {QStringLiteral("nicht bestanden"), QStringLiteral("-108,8")});
    grid->addWidget(*captionLabel, row, 0);
    grid->addWidget(value, row, 1);
    return value;
}

void buildWcag(KontrastControls& c) {
    auto* grid = new QGridLayout(c.fraWcag);
    QWidget* box = c.fraWcag;
    c.lblVerhältnis = captionedValue(box, grid, 0, "lblVerhältnisTitel", "lblVerhältnis",
                                     "Kontrastverhältnis:", &c.lblVerhältnisTitel);
    QFont bigger = c.lblVerhältnis->font();
    bigger.setBold(true);
    c.lblVerhältnis->setFont(bigger);
    reserveWidth(c.lblVerhältnis, {QStringLiteral("21,00:1")});
    c.lblTextgröße = namedLabel(box, "lblTextgröße", QString(), QStringLiteral("Textgröße"));
    c.lblSchwelle = namedLabel(box, "lblSchwelle", QString(), QStringLiteral("Schwellen"));
    reserveWidth(c.lblTextgröße, {QStringLiteral("Normaler Text: 88,88 pt fett")});
    reserveWidth(c.lblSchwelle,
                 {QStringLiteral("Für normalen Text gilt AA ab 4,5:1, AAA ab 7:1.")});
    grid->addWidget(c.lblTextgröße, 1, 0, 1, 2);
    grid->addWidget(c.lblSchwelle, 2, 0, 1, 2);
    c.lblAA = captionedValue(box, grid, 3, "lblAATitel", "lblAA", "1.4.3 AA:", &c.lblAATitel);
    c.lblAAA = captionedValue(box, grid, 4, "lblAAATitel", "lblAAA", "1.4.6 AAA:", &c.lblAAATitel);
    c.lblGrafik = captionedValue(box, grid, 5, "lblGrafikTitel", "lblGrafik",
                                 "1.4.11 Grafik und Bedienelemente:", &c.lblGrafikTitel);
    c.lblApca = captionedValue(box, grid, 6, "lblApcaTitel", "lblApca",
                               "APCA-Kontrast Lc (nicht normativ):", &c.lblApcaTitel);
    grid->setColumnStretch(1, 1);
}

void buildOffers(KontrastControls& c) {
    auto* grid = new QGridLayout(c.fraVorschlag);
    QWidget* box = c.fraVorschlag;
    c.lblBearbeitet =
        namedLabel(box, "lblBearbeitet", QString(), QStringLiteral("Bearbeitete Farbe"));
    reserveWidth(c.lblBearbeitet,
                 {QStringLiteral("Bearbeitet wird die Hintergrundfarbe #DDDDDD.")});
    grid->addWidget(c.lblBearbeitet, 0, 0, 1, 6);
    // Two forms a line, to be copied into a stylesheet.
    auto* forms = new QGridLayout;
    const char* names[] = {"lblAlsHex", "lblAlsRgb", "lblAlsHsl", "lblAlsOklch"};
    const QString widest[] = {QStringLiteral("#dddddd"), QStringLiteral("rgb(255 255 255)"),
                              QStringLiteral("hsl(359.9 100% 100%)"),
                              QStringLiteral("oklch(100% 0.32249 359.99)")};
    for (std::size_t i = 0; i < c.lblAls.size(); ++i) {
        c.lblAls[i] = namedLabel(
            box, names[i], QString(),
            QStringLiteral("Bearbeitete Farbe als %1").arg(QLatin1String(editedFormNames[i])));
        c.lblAls[i]->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                             Qt::TextSelectableByKeyboard);
        c.lblAls[i]->setFocusPolicy(Qt::StrongFocus); // reached with Tab, not only by a click
        reserveWidth(c.lblAls[i], {widest[i]});
        forms->addWidget(c.lblAls[i], int(i / 2), int(i % 2));
    }
    forms->setColumnStretch(1, 1);
    grid->addLayout(forms, 1, 1, 1, 5);
    c.aa = addLevelRows(box, grid, 2, "AA");
    c.aaa = addLevelRows(box, grid, 5, "AAA");
    grid->setColumnStretch(3, 1);
}

void buildVision(KontrastControls& c) {
    auto* grid = new QGridLayout(c.fraFarbsehen);
    for (std::size_t i = 0; i < c.vision.size(); ++i)
        c.vision[i] = addVisionPreview(c.fraFarbsehen, grid, int(i), allVisionDeficiencies[i]);
    grid->setColumnStretch(1, 1);
}

} // namespace

KontrastControls buildKontrastLayout(QWidget* window) {
    KontrastControls c;
    c.fraWcag = section(window, "fraWcag", "lblWcag", "WCAG 2.x", &c.lblWcag);
    c.fraVorschlag =
        section(window, "fraVorschlag", "lblVorschlag", "Nächste passende Farbe", &c.lblVorschlag);
    c.fraFarbsehen =
        section(window, "fraFarbsehen", "lblFarbsehen", "Farbsehschwächen", &c.lblFarbsehen);
    buildWcag(c);
    buildOffers(c);
    buildVision(c);

    const auto button = [window](const char* name, const char* caption, const char* accessible) {
        auto* b = new QPushButton(QString::fromUtf8(caption), window);
        b->setObjectName(QString::fromUtf8(name));
        b->setAccessibleName(QString::fromUtf8(accessible));
        return b;
    };
    c.cmdTextVomBildschirm =
        button("cmdTextVomBildschirm", "&Text vom Bildschirm", "Textfarbe vom Bildschirm wählen");
    c.cmdHintergrundVomBildschirm =
        button("cmdHintergrundVomBildschirm", "&Hintergrund vom Bildschirm",
               "Hintergrundfarbe vom Bildschirm wählen");
    c.cmdPaarVomBildschirm = button("cmdPaarVomBildschirm", "&Paar vom Bildschirm",
                                    "Text und Hintergrund vom Bildschirm wählen");
    // Made after them, so a screen reader meets the buttons in the order they stand.
    c.cmdSchließen = new QPushButton(QStringLiteral("Schließen"), window);
    c.cmdSchließen->setObjectName(QStringLiteral("cmdSchließen"));
    c.cmdSchließen->setAccessibleName(QStringLiteral("Schließen"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(c.cmdTextVomBildschirm);
    buttons->addWidget(c.cmdHintergrundVomBildschirm);
    buttons->addWidget(c.cmdPaarVomBildschirm);
    buttons->addStretch(1);
    buttons->addWidget(c.cmdSchließen);
    auto* column = new QVBoxLayout(window);
    for (auto [title, frame] : {std::pair{c.lblWcag, c.fraWcag},
                                {c.lblVorschlag, c.fraVorschlag},
                                {c.lblFarbsehen, c.fraFarbsehen}}) {
        column->addWidget(title);
        column->addWidget(frame);
    }
    column->addLayout(buttons);

    QWidget* order[] = {c.lblAls[0],
                        c.lblAls[1],
                        c.lblAls[2],
                        c.lblAls[3],
                        c.aa.lighter.apply,
                        c.aa.darker.apply,
                        c.aaa.lighter.apply,
                        c.aaa.darker.apply,
                        c.cmdTextVomBildschirm,
                        c.cmdHintergrundVomBildschirm,
                        c.cmdPaarVomBildschirm,
                        c.cmdSchließen};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    return c;
}

} // namespace pigmora
