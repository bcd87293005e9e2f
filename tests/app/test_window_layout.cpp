#include "window_driver.h"

#include "app/channel_slider.h"
#include "app/scheme_list.h"
#include "app/status_bar.h"
#include "base/german_locale.h"

#include <QAction>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

using namespace pigmora;
using test::byName;

class TestWindowLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init();
    void cleanup() { window_.window.reset(); }

    void window();
    void controls_data();
    void controls();
    void startValues();
    void fonts_data();
    void fonts();
    void toolTips();
    void menuTree();
    void statusBarPanels();
    void clockAndDateAreCurrent();
    void clockShowsHoursAndMinutes_data();
    void clockShowsHoursAndMinutes();
    void tabOrder();
    void hexBoxesTakeNoInput();

private:
    test::WindowUnderTest window_;
};

void TestWindowLayout::init() {
    window_.fresh();
    QVERIFY(window_.open());
}

void TestWindowLayout::window() {
    QCOMPARE(window_->objectName(), "frmHauptprogramm");
    QCOMPARE(window_->windowTitle(), "RGB-Tintrix");
    QCOMPARE(window_->centralWidget()->size(), QSize(529, 332));
    // Fixed size, no minimise or maximise button, but a close button.
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    const QIcon icon = QApplication::windowIcon();
    QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
}

void TestWindowLayout::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry"); // pixels at 96 dpi
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, const char* cls, QRect r, const char* text) {
        QTest::newRow(name) << QString::fromUtf8(name) << cls << r << QString::fromUtf8(text);
    };
    row("lblRot", "QLabel", {16, 32, 81, 25}, "Rot");
    row("lblGrün", "QLabel", {16, 72, 81, 25}, "Grün");
    row("lblBlau", "QLabel", {16, 112, 81, 25}, "Blau");
    row("sldRot", "pigmora::ChannelSlider", {112, 24, 257, 33}, "");
    row("sldGrün", "pigmora::ChannelSlider", {112, 64, 257, 33}, "");
    row("sldBlau", "pigmora::ChannelSlider", {112, 104, 257, 33}, "");
    row("lblDez", "pigmora::ClickLabel", {380, 0, 25, 19}, "Dez");
    row("lblHex", "pigmora::ClickLabel", {451, 0, 27, 19}, "Hex");
    row("txtRot", "pigmora::ChannelBox", {376, 32, 33, 25}, "0");
    row("txtGrün", "pigmora::ChannelBox", {376, 72, 33, 25}, "0");
    row("txtBlau", "pigmora::ChannelBox", {376, 112, 33, 25}, "0");
    row("txtRotHex", "QLineEdit", {448, 32, 33, 25}, "0");
    row("txtGrünHex", "QLineEdit", {448, 72, 33, 25}, "0");
    row("txtBlauHex", "QLineEdit", {448, 112, 33, 25}, "0");
    row("lblVorschau", "QLabel", {16, 160, 81, 25}, "Vorschau:");
    row("lblTest", "pigmora::ClickLabel", {112, 160, 369, 89}, "");
    row("cmdNeueFarbe", "QPushButton", {16, 264, 41, 21}, "&Neu");
    row("cmdWeg", "QPushButton", {64, 264, 65, 21}, "&löschen");
    row("cmbFarbe", "pigmora::SchemeList", {136, 264, 345, 21}, "");
    row("StatusBar1", "pigmora::PanelStatusBar", {0, 307, 529, 25}, "");
}

void TestWindowLayout::controls() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    auto* w = byName(window_.get(), name);
    QTEST(QString::fromLatin1(w->metaObject()->className()), "className");
    QTEST(w->geometry(), "geometry");
    QCOMPARE(w->parentWidget(), window_->centralWidget());
    QVERIFY(w->isVisible());
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (!text.isEmpty())
            QCOMPARE(label->text(), text);
        QVERIFY(label->wordWrap());
        QVERIFY(label->autoFillBackground());
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QCOMPARE(edit->text(), text);
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        QCOMPARE(button->text(), text);
        QVERIFY(!button->isDefault());
    }
}

void TestWindowLayout::startValues() {
    for (const char* name : {"sldRot", "sldGrün", "sldBlau"}) {
        auto* s = byName<ChannelSlider>(window_.get(), QString::fromUtf8(name));
        QCOMPARE(s->value(), 0);
        QCOMPARE(s->minimum(), 0);
        QCOMPARE(s->maximum(), 255);
        QCOMPARE(s->singleStep(), 1);
        QCOMPARE(s->pageStep(), 5);
        QCOMPARE(s->tickInterval(), 25);
        QCOMPARE(s->tickPosition(), QSlider::TicksBelow);
        QCOMPARE(s->orientation(), Qt::Horizontal);
    }
    auto* sample = byName<QLabel>(window_.get(), "lblTest");
    QCOMPARE(sample->text().size(), 299);
    QCOMPARE(sample->text(), QStringList(60, "Text").join(' '));
    QCOMPARE(foreColour(sample), 0u);
    QCOMPARE(backColour(sample), 0u);
    QCOMPARE(foreColour(byName(window_.get(), "lblHex")), 0x808080u);
    QCOMPARE(byName(window_.get(), "lblDez")->palette().color(QPalette::WindowText),
             QApplication::palette(byName(window_.get(), "lblDez")).color(QPalette::WindowText));
    auto* list = byName<SchemeList>(window_.get(), "cmbFarbe");
    QCOMPARE(list->count(), 0);
    QCOMPARE(list->currentIndex(), -1);
    QVERIFY(!list->isEditable());
    QCOMPARE(window_->state().bytmodus, 1);
    QCOMPARE(window_->state().bytziel, 2);
    QCOMPARE(QApplication::focusWidget(), byName(window_.get(), "txtRot"));
}

void TestWindowLayout::fonts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<double>("points");
    const QStringList sans{"Arial", "Liberation Sans"};
    const QStringList serif{"Times New Roman", "Liberation Serif"};
    for (const char* name : {"lblRot", "lblGrün", "lblBlau", "txtRot", "txtGrün", "txtBlau",
                             "txtRotHex", "txtGrünHex", "txtBlauHex", "lblVorschau"})
        QTest::newRow(name) << QString::fromUtf8(name) << sans << 12.0;
    QTest::newRow("lblDez") << "lblDez" << serif << 12.0;
    QTest::newRow("lblHex") << "lblHex" << serif << 12.0;
    QTest::newRow("lblTest") << "lblTest" << serif << 9.75;
}

void TestWindowLayout::fonts() {
    QFETCH(QString, name);
    QFETCH(QStringList, families);
    QFETCH(double, points);
    const QFont font = byName(window_.get(), name)->font();
    const QFontInfo used(font);
    QVERIFY2(families.contains(used.family()), qPrintable(used.family()));
    QCOMPARE(font.pointSizeF(), points);
    QVERIFY(!font.bold());
    QVERIFY(!font.italic());
}

void TestWindowLayout::toolTips() {
    for (const char* name : {"txtRot", "txtBlau", "txtRotHex", "txtBlauHex"})
        QVERIFY2(byName(window_.get(), QString::fromUtf8(name))->toolTip().isEmpty(), name);
    QCOMPARE(byName(window_.get(), "txtGrün")->toolTip(), "Grünwert");
    QCOMPARE(byName(window_.get(), "txtGrünHex")->toolTip(), "Grünwert");
}

namespace {

// One line per menu entry: level, caption or "-", name, shortcut, check state.
void describeMenu(const QMenu* menu, int level, QStringList& out) {
    for (const QAction* a : menu->actions()) {
        const QString check = !a->isCheckable() ? "" : a->isChecked() ? "checked" : "unchecked";
        out << QString("%1|%2|%3|%4|%5")
                   .arg(level)
                   .arg(a->isSeparator() ? "-" : a->text(), a->objectName(),
                        a->shortcut().toString(QKeySequence::PortableText), check);
        if (a->menu())
            describeMenu(a->menu(), level + 1, out);
    }
}

} // namespace

void TestWindowLayout::menuTree() {
    QStringList tree;
    for (const QAction* a : window_->menuBar()->actions()) {
        tree << QString("1|%1|%2||").arg(a->text(), a->objectName());
        describeMenu(a->menu(), 2, tree);
    }
    const QStringList expected{
        "1|&Datei|mnuDatei||",
        "2|&Ende|mnuEnde||",
        "1|&Bearbeiten|mnuBearbeiten||",
        "2|&Modus|mnuModus||",
        "3|&Dez|mnuDez|Ctrl+D|checked",
        "3|&Hex|mnuHex|Ctrl+H|unchecked",
        "3|-|xxx||",
        "3|&Vordergrundfarbe|mnuVorder|Ctrl+V|unchecked",
        "3|H&intergrundfarbe|mnuHinter|Ctrl+I|checked",
        "3|-|xxxxxxxxxxxxxx||",
        "3|&Schrift|mnuSchrift|Ctrl+S|",
        "2|-|xxxx||",
        "2|&Farbe kopieren|mnuKopieren|Ctrl+C|",
        "2|Farbe &wählen|mnuWahl|Ctrl+W|",
        "1|E&xtras|mnuExtras||",
        "2|&Kontrast...|mnuKontrast|Ctrl+K|",
        "2|Kontrast&raster...|mnuRaster|Ctrl+R|",
        "2|&Seite prüfen...|mnuSeite||",
        "2|Farbe vom &Bildschirm...|mnuBildschirm|Ctrl+B|",
        "2|Farbe aus B&ild...|mnuBild|Ctrl+Shift+B|",
        "2|&Paar vom Bildschirm...|mnuPaar|Ctrl+Shift+P|",
        "2|-|mnuExtrasTrenner1||",
        "2|Farbschemata &exportieren...|mnuExportieren|Ctrl+E|",
        "2|Farbschemata &importieren...|mnuImportieren||",
        "2|-|mnuExtrasTrenner2||",
        "2|CSS-Farbe &einfügen|mnuCssEinfügen|Ctrl+Shift+V|",
        "1|&Hilfe|mnuHilfex||",
        "2|&Hilfe|mnuHilfe|F1|",
        "2|-|xxxxxx||",
        "2|&Info|mnuInfo|Shift+F1|",
    };
    QCOMPARE(tree, expected);
    for (const QAction* a : window_->findChildren<QAction*>()) {
        QVERIFY(a->isEnabled());
        QVERIFY(a->isVisible());
    }
}

void TestWindowLayout::statusBarPanels() {
    auto* bar = byName<PanelStatusBar>(window_.get(), "StatusBar1");
    QCOMPARE(bar->panelCount(), 4);
    struct Expected {
        QString text;
        QString toolTip;
        Bevel bevel;
        Qt::Alignment alignment;
        int minimumWidth;
    };
    const Expected expected[] = {
        {"Hintergrund", "Gibt an, welche Farbe gerade ausgewählt wird", Bevel::Inset,
         Qt::AlignHCenter, 53},
        {"", "", Bevel::None, Qt::AlignLeft, 333},
        {"", "Uhrzeit", Bevel::Inset, Qt::AlignHCenter, 53},
        {"", "Datum", Bevel::Inset, Qt::AlignHCenter, 46},
    };
    int x = 0;
    for (int i = 1; i <= 4; ++i) {
        const StatusPanel* p = bar->panel(i);
        const Expected& e = expected[i - 1];
        if (i <= 2)
            QCOMPARE(p->text(), e.text);
        QCOMPARE(p->toolTip(), e.toolTip);
        QCOMPARE(bevelOf(p), e.bevel);
        QVERIFY(p->alignment() & e.alignment);
        QCOMPARE(p->focusPolicy(), Qt::NoFocus);
        // Left to right, side by side, inside the bar.
        QVERIFY(p->geometry().left() >= x);
        x = p->geometry().right();
        QVERIFY(x < bar->width());
        if (i != 2) // panels that fit their text are at least their minimum and their text wide
            QVERIFY(p->width() >=
                    std::max(e.minimumWidth, p->fontMetrics().horizontalAdvance(p->text())));
    }
    QCOMPARE(bar->panel(1)->settings().key, "Hintergrund");
    // The spring panel takes what is left: the last panel ends at the right edge.
    QVERIFY(bar->panel(4)->geometry().right() >= bar->width() - 3);
}

void TestWindowLayout::clockAndDateAreCurrent() {
    auto* bar = byName<PanelStatusBar>(window_.get(), "StatusBar1");
    const QLocale locale = displayLocale();
    const auto timeText = [&] {
        return locale.toString(QTime::currentTime(), clockFormat(locale));
    };
    // At a minute's (or a day's) turn the panels catch up by themselves within moments.
    QTRY_COMPARE_WITH_TIMEOUT(bar->panel(3)->text(), timeText(), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(bar->panel(4)->text(),
                              locale.toString(QDate::currentDate(), QLocale::ShortFormat), 2000);
    // They keep themselves current: a timer is due no later than just after the next minute.
    const auto timers = bar->findChildren<QTimer*>();
    QCOMPARE(timers.size(), 1);
    QVERIFY(timers[0]->isActive());
    QVERIFY(timers[0]->remainingTime() <= 60050);
}

void TestWindowLayout::clockShowsHoursAndMinutes_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("shown");
    QTest::newRow("German") << "de_DE"
                            << "17:38";
    QTest::newRow("English (US)") << "en_US"
                                  << "5:38 PM";
    QTest::newRow("British") << "en_GB"
                             << "17:38";
    QTest::newRow("C") << "C"
                       << "17:38";
    QTest::newRow("Finnish") << "fi_FI"
                             << "17.38";
}

void TestWindowLayout::clockShowsHoursAndMinutes() {
    QFETCH(QString, locale);
    const QLocale l(locale);
    QTEST(l.toString(QTime(17, 38, 59), clockFormat(l)), "shown");
}

void TestWindowLayout::tabOrder() {
    QStringList visited;
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    const QStringList expected{"txtGrün", "txtBlau", "cmbFarbe", "cmdNeueFarbe", "cmdWeg",
                               "sldRot",  "sldBlau", "sldGrün",  "txtRot"};
    QCOMPARE(visited, expected);
}

void TestWindowLayout::hexBoxesTakeNoInput() {
    auto* hex = byName<QLineEdit>(window_.get(), "txtRotHex");
    QVERIFY(!hex->isEnabled());
    QTest::mouseClick(hex, Qt::LeftButton);
    QVERIFY(!hex->hasFocus());
    // The program may write any text into it.
    hex->setText("12345");
    QCOMPARE(hex->text(), "12345");
}

QTEST_MAIN(TestWindowLayout)
#include "test_window_layout.moc"
