// The contrast grid, driven through the real main window offscreen: Ctrl+R, cells clicked and
// chosen by keys, the filters, the font and colour vision re-rating the grid, palettes from
// files, storing, export, and ramps.

#include "window_driver.h"

#include "base/hex_digit.h"
#include "contrast_grid/contrast_grid.h"
#include "raster_window/ramp_dialog.h"
#include "raster_window/raster_window.h"
#include "schemes/scheme_file.h"
#include "schemes/scheme_transfer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

using namespace pigmora;
using test::byName;

namespace {

Rgb hex(quint32 rrggbb) {
    return Rgb{ChannelValue(rrggbb >> 16), ChannelValue(rrggbb >> 8), ChannelValue(rrggbb)};
}

// Text colours #1f2328, #59636e, #818b98 (the third twice); backgrounds #ffffff, #f6f8fa.
const std::vector<ColourScheme> stored{{"Standard", hex(0x1f2328), hex(0xffffff)},
                                       {"Gedämpft", hex(0x59636e), hex(0xf6f8fa)},
                                       {"Abgeschaltet", hex(0x818b98), hex(0xffffff)},
                                       {"Platzhalter", hex(0x818b98), hex(0xf6f8fa)}};

QString cellText(const QTableView* table, int row, int column) {
    return table->model()->index(row, column).data(Qt::AccessibleTextRole).toString();
}

} // namespace

class TestRasterWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void init();
    void cleanup() { window_.window.reset(); }

    void opensOnCtrlROverTheStoredSchemes();
    void choosingACellSetsThePair_data();
    void choosingACellSetsThePair();
    void fontAndVisionRerate();
    void filters();
    void palettesFromFiles();
    void storesThroughNew();
    void exports_data();
    void exports();
    void rampsIntoTheGridAndTheSchemes();

private:
    frmRaster* open() {
        QTest::keyClick(window_.get(), Qt::Key_R, Qt::ControlModifier);
        QCoreApplication::processEvents();
        return window_->findChild<frmRaster*>(QStringLiteral("frmRaster"));
    }
    QTableView* table() const { return byName<QTableView>(raster(), "tblRaster"); }
    frmRaster* raster() const { return byName<frmRaster>(window_.get(), "frmRaster"); }
    std::pair<Rgb, Rgb> samplePair() const {
        const QWidget* sample = byName(window_.get(), "lblTest");
        return {unpackColour(foreColour(sample)), unpackColour(backColour(sample))};
    }
    QString write(const QString& name, const QByteArray& contents) {
        const QString path = window_.dir->filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(contents);
        return path;
    }
    test::WindowUnderTest window_;
};

void TestRasterWindow::init() {
    window_.fresh();
    {
        const auto file = SchemeFile::openOrCreate(window_.schemeFile());
        QCOMPARE(addSchemes(*file, stored), std::nullopt);
    }
    QVERIFY(window_.open());
}

void TestRasterWindow::opensOnCtrlROverTheStoredSchemes() {
    QVERIFY(!window_->findChild<frmRaster*>()); // not made before it is asked for
    frmRaster* grid = open();
    QVERIFY(grid && grid->isVisible());
    QCOMPARE(table()->model()->rowCount(), 3);
    QCOMPARE(table()->model()->columnCount(), 2);
    QCOMPARE(table()->model()->headerData(2, Qt::Vertical, Qt::AccessibleTextRole).toString(),
             QStringLiteral("Abgeschaltet #818b98"));
    QCOMPARE(table()->model()->headerData(2, Qt::Vertical, Qt::ToolTipRole).toString(),
             QStringLiteral("Abgeschaltet\nauch in Platzhalter"));
    QCOMPARE(cellText(table(), 1, 0),
             QStringLiteral("Text Gedämpft #59636e auf Standard #ffffff: 6,11:1, AA bestanden"));
    QCOMPARE(cellText(table(), 0, 1),
             QStringLiteral("Text Standard #1f2328 auf Gedämpft #f6f8fa: 14,83:1, AAA bestanden"));
    QTest::keyClick(grid, Qt::Key_Escape);
    QVERIFY(!grid->isVisible());
    QCOMPARE(open(), grid); // kept, not made again
}

void TestRasterWindow::choosingACellSetsThePair_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("click") << "click";
    QTest::newRow("arrows and Enter") << "keys";
}

void TestRasterWindow::choosingACellSetsThePair() {
    QFETCH(QString, how);
    window_->menus().mnuKontrast->trigger(); // the contrast window follows the pair too
    open();
    QTableView* t = table();
    if (how == QLatin1String("click")) {
        const QRect cell = t->visualRect(t->model()->index(2, 1));
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, cell.center());
    } else {
        t->setFocus();
        t->setCurrentIndex(t->model()->index(0, 0));
        QTest::keyClick(t, Qt::Key_Down);
        QTest::keyClick(t, Qt::Key_Down);
        QTest::keyClick(t, Qt::Key_Right);
        QCOMPARE(t->currentIndex(), t->model()->index(2, 1));
        QCOMPARE(samplePair().first, Rgb{}); // moving alone sets nothing
        QTest::keyClick(t, Qt::Key_Return);
    }
    QCOMPARE(samplePair(), std::pair(hex(0x818b98), hex(0xf6f8fa)));
    // As picking a scheme: the channels edit the background now.
    QVERIFY(window_->menus().mnuHinter->isChecked());
    QCOMPARE(test::text(window_.get(), "txtRotHex"), QStringLiteral("F6"));
    QCOMPARE(byName<QLabel>(raster(), "lblAuswahl")->text(), cellText(t, 2, 1));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(test::text(window_.get(), "lblVerhältnis"), QStringLiteral("3,24:1"));
}

void TestRasterWindow::fontAndVisionRerate() {
    open();
    // #818b98 on #ffffff is 3,45:1: 3:1 only for normal text, AA for large text.
    QCOMPARE(raster()->grid().level(2, 0), GridLevel::NonText);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(18);
    window_.dialogs.fontAnswers = {font};
    window_->menus().mnuSchrift->trigger(); // the grid window is the active one
    QCOMPARE(window_.dialogs.fontRequests.size(), 1);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(raster()->grid().rating().largeText);
    QCOMPARE(raster()->grid().level(2, 0), GridLevel::AA);
    QVERIFY(cellText(table(), 2, 0).endsWith(QStringLiteral(": 3,45:1, AA bestanden")));

    auto* vision = byName<QComboBox>(raster(), "cboFarbsehen");
    vision->setCurrentIndex(4); // achromatopsia: greys of the same luminance
    QCOMPARE(raster()->grid().rating().vision, VisionDeficiency::Achromatopsia);
    QVERIFY(cellText(table(), 1, 0).contains(QStringLiteral(" bei Achromatopsie: ")));
}

void TestRasterWindow::filters() {
    open();
    auto* onlyPassing = byName<QCheckBox>(raster(), "chkNurBestandene");
    auto* hide = byName<QCheckBox>(raster(), "chkAusblenden");
    auto* level = byName<QComboBox>(raster(), "cboStufe");
    QVERIFY(!hide->isEnabled());
    level->setCurrentIndex(2); // AAA: only #1f2328 passes, on both
    onlyPassing->setChecked(true);
    QCOMPARE(raster()->view().minimumRatio, 7.0);
    QCOMPARE(table()->model()->rowCount(), 3); // greyed, still there
    QVERIFY(hide->isEnabled());
    hide->setChecked(true);
    QCOMPARE(table()->model()->rowCount(), 1);
    QCOMPARE(table()->model()->columnCount(), 2);
    onlyPassing->setChecked(false);
    QCOMPARE(table()->model()->rowCount(), 3);
    byName<QComboBox>(raster(), "cboReihenfolge")->setCurrentIndex(1);
    QCOMPARE(table()->model()->headerData(0, Qt::Vertical, Qt::AccessibleTextRole).toString(),
             QStringLiteral("Abgeschaltet #818b98")); // the lightest first
}

void TestRasterWindow::palettesFromFiles() {
    open();
    window_.dialogs.openAnswers = {write("kaputt.tokens.json", "{ nicht json")};
    byName<QPushButton>(raster(), "cmdPaletteÖffnen")->click();
    QCOMPARE(window_.dialogs.messages.size(), 1);
    QCOMPARE(table()->model()->rowCount(), 3); // nothing changed

    window_.dialogs.openAnswers = {
        write("system.css", ":root { --fg-default: #1f2328; --fg-muted: var(--gray-6); --gray-6: "
                            "#59636e; --bg-default: #ffffff; --space: 4px; --bad: #12; }")};
    byName<QPushButton>(raster(), "cmdPaletteÖffnen")->click();
    QCOMPARE(window_.dialogs.messages.size(), 1);
    QCOMPARE(byName<QLabel>(raster(), "lblPalette")->text(),
             QStringLiteral("Palette: 4 Farben aus system.css; 1 abgelehnt; 1 ohne Farbe "
                            "übersprungen."));
    QCOMPARE(table()->model()->rowCount(), 4); // the palette all against all
    QCOMPARE(table()->model()->columnCount(), 4);
    QCOMPARE(cellText(table(), 1, 3),
             QStringLiteral("Text fg-muted #59636e auf bg-default #ffffff: 6,11:1, AA bestanden"));
    byName<QLineEdit>(raster(), "txtZeilenMuster")->setText(QStringLiteral("fg-*"));
    byName<QLineEdit>(raster(), "txtSpaltenMuster")->setText(QStringLiteral("bg-* gray-*"));
    QCOMPARE(table()->model()->rowCount(), 2);
    QCOMPARE(table()->model()->columnCount(), 2);
    byName<QLineEdit>(raster(), "txtZeilenMuster")->clear();
    byName<QLineEdit>(raster(), "txtSpaltenMuster")->clear();
    byName<QPushButton>(raster(), "cmdAlleGegenAlle")->click();
    QCOMPARE(table()->model()->rowCount(), 4 + 5); // the schemes' five colours and the palette
}

void TestRasterWindow::storesThroughNew() {
    open();
    table()->setCurrentIndex(table()->model()->index(1, 0));
    window_.dialogs.promptAnswers = {QString(31, QLatin1Char('x'))};
    byName<QPushButton>(raster(), "cmdSpeichern")->click();
    QCOMPARE(window_.dialogs.prompts.size(), 1);
    QCOMPARE(window_.dialogs.prompts[0].maxLength, 30);
    QCOMPARE(window_.dialogs.messages.size(), 1); // "&Neu"'s rule and message
    QVERIFY(window_.dialogs.messages[0].text.contains(QStringLiteral("höchstens 30 Zeichen")));

    window_.dialogs.promptAnswers = {QStringLiteral("Gedämpft auf Weiß")};
    byName<QPushButton>(raster(), "cmdSpeichern")->click();
    QCOMPARE(window_.dialogs.messages.size(), 1);
    const auto file = SchemeFile::openExisting(window_.schemeFile(), SchemeFile::Access::ReadOnly);
    const StoredSchemes now = readStoredSchemes(*file);
    QCOMPARE(now.schemes.size(), stored.size() + 1);
    QCOMPARE(now.schemes.back(),
             (ColourScheme{QStringLiteral("Gedämpft auf Weiß"), hex(0x59636e), hex(0xffffff)}));
}

void TestRasterWindow::exports_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("HTML") << "raster.html"
                          << "HTML (*.html)" << QByteArray("<!DOCTYPE html>");
    QTest::newRow("CSV by its suffix") << "raster.csv"
                                       << "HTML (*.html)" << QByteArray("text,text_colour,");
    QTest::newRow("JSON by the filter")
        << "raster"
        << "JSON (*.json)" << QByteArray("{\"format\": \"pigmora-contrast-grid\"");
}

void TestRasterWindow::exports() {
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(QByteArray, start);
    open();
    const QString path = window_.dir->filePath(name);
    window_.dialogs.saveAnswers = {Dialogs::SaveChoice{path, filter}};
    byName<QPushButton>(raster(), "cmdExportieren")->click();
    QCOMPARE(window_.dialogs.messages.size(), 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QVERIFY2(written.startsWith(start), written.left(80).constData());
    QVERIFY(written.contains("818b98"));

    window_.dialogs.saveAnswers = {Dialogs::SaveChoice{window_.dir->path(), filter}};
    byName<QPushButton>(raster(), "cmdExportieren")->click(); // a folder: told, nothing written
    QCOMPARE(window_.dialogs.messages.size(), 1);
}

void TestRasterWindow::rampsIntoTheGridAndTheSchemes() {
    open();
    test::typeColour(window_.get(), 9, 105, 218); // the background is edited: #0969da
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    table()->setCurrentIndex(table()->model()->index(0, 0)); // on #ffffff
    byName<QPushButton>(raster(), "cmdFarbreihe")->click();
    auto* ramp = byName<frmFarbreihe>(raster(), "frmFarbreihe");
    QCOMPARE(byName<QLineEdit>(ramp, "txtSchlüssel")->text(), QStringLiteral("#0969da"));
    QCOMPARE(byName<QLineEdit>(ramp, "txtHintergründe")->text(), QStringLiteral("#ffffff"));
    byName<QLineEdit>(ramp, "txtHintergründe")->setText(QStringLiteral("#ffffff, rgb(13 17 23)"));
    byName<QLineEdit>(ramp, "txtZiele")->setText(QStringLiteral("3 4,5 21"));
    QVERIFY(ramp->make());
    QCOMPARE(byName<QTableWidget>(ramp, "tblFarbreihe")->rowCount(), 6);
    QCOMPARE(byName<QLabel>(ramp, "lblMeldung")->text(),
             QStringLiteral("2 Ziele erreicht keine Farbe dieses Farbtons; die anderen sind "
                            "gemacht."));

    byName<QPushButton>(ramp, "cmdInsRaster")->click();
    QCOMPARE(table()->model()->rowCount(), 4 + 2); // four reached, two backgrounds
    QCOMPARE(table()->model()->headerData(1, Qt::Vertical, Qt::AccessibleTextRole).toString(),
             QStringLiteral("Schlüssel 4.5 auf #ffffff ") +
                 hashHexText(*ramp->ramps()[0].steps[1].colour));

    byName<QPushButton>(ramp, "cmdSpeichern")->click();
    const auto file = SchemeFile::openExisting(window_.schemeFile(), SchemeFile::Access::ReadOnly);
    const StoredSchemes now = readStoredSchemes(*file);
    QCOMPARE(now.schemes.size(), stored.size() + 4);
    QCOMPARE(now.schemes[stored.size() + 3].name, QStringLiteral("Schlüssel 4.5 auf #0d1117"));

    byName<QLineEdit>(ramp, "txtZiele")->setText(QStringLiteral("4,5 3"));
    QVERIFY(!ramp->make());
    QCOMPARE(byName<QLabel>(ramp, "lblMeldung")->text(),
             QStringLiteral("Ziele: Die Ziele müssen aufsteigen: 3 steht nach 4.5."));
}

QTEST_MAIN(TestRasterWindow)
#include "test_raster_window.moc"
