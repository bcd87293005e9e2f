// "Extras › Seite prüfen...": the window on a real page through the main window (Chromium
// draws it), and a run that is cancelled while its page still loads.

#include "app/click_label.h"
#include "app/main_window.h"
#include "page_audit_window/findings_model.h"
#include "page_audit_window/page_check_window.h"
#include "window_driver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>
#include <thread>

using namespace pigmora;
using namespace pigmora::test;

namespace {

// A page that never finishes loading until the audit is stopped.
class EndlessPage : public PageSession {
public:
    explicit EndlessPage(std::function<bool()> stop)
        : stop_(std::move(stop)) {}
    PageLayout load(const PageSource&, const RenderSettings&) override {
        while (!stop_())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        throw AuditError(AuditError::Kind::Cancelled,
                         QStringLiteral("Die Prüfung wurde abgebrochen."));
    }
    PixelImage capture(const PixelRect&, Rendering) override { return {}; }
    std::vector<Rgb> seenColours(const std::vector<Rgb>& c) override { return c; }
    int refusedRequests() const override { return 0; }

private:
    std::function<bool()> stop_;
};

} // namespace

class TestPageCheckWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpOnce(); }
    void realPageThroughTheMainWindow();
    void cancelledWhileLoading();
};

void TestPageCheckWindow::realPageThroughTheMainWindow() {
    WindowUnderTest w;
    QVERIFY(w.open());
    QVERIFY(!w->findChild<frmSeitenpruefung*>()); // nothing of it before the first use
    w->menus().mnuSeite->trigger();
    auto* check = w->findChild<frmSeitenpruefung*>(QStringLiteral("frmSeitenpruefung"));
    QVERIFY(check && check->isVisible());
    byName<QLineEdit>(check, QStringLiteral("txtQuelle"))
        ->setText(QStringLiteral(PAGES_DIR "/pairs.html"));
    QTest::mouseClick(byName<QPushButton>(check, QStringLiteral("cmdPruefen")), Qt::LeftButton);
    QVERIFY(check->running());
    QTRY_VERIFY_WITH_TIMEOUT(!check->running(), 60000);

    const FindingsModel& model = check->findings();
    QCOMPARE(model.rowCount(), 11);
    // Worst first: the grey text on a grey gradient, selected, with its crop shown.
    const TextFinding* worst = model.finding(0);
    QCOMPARE(worst->text.selector, QStringLiteral("#verlauf-ganz"));
    QCOMPARE(model.data(model.index(0, FindingsModel::Urteil), Qt::DisplayRole).toString(),
             QStringLiteral("nicht bestanden"));
    auto* list = byName<QTreeView>(check, QStringLiteral("lstBefunde"));
    QCOMPARE(list->currentIndex().row(), 0);
    const QPixmap crop = byName<QLabel>(check, QStringLiteral("imgAusschnitt"))->pixmap();
    QCOMPARE(crop.size(), QSize(worst->crop.width, worst->crop.height));
    QVERIFY(byName<QLabel>(check, QStringLiteral("lblStand"))
                ->text()
                .contains(QStringLiteral("11 Texte beurteilt")));

    // The pair of its lowest contrast goes to the sample, as picking a scheme sets it.
    const TextFinding* chosen = model.finding(3);
    list->setCurrentIndex(model.index(3, 0));
    QTest::mouseClick(byName<QPushButton>(check, QStringLiteral("cmdPaar")), Qt::LeftButton);
    const QPalette sample = w->controls().lblTest->palette();
    QCOMPARE(sample.color(QPalette::WindowText),
             QColor(chosen->shownLowest.red, chosen->shownLowest.green, chosen->shownLowest.blue));
    QCOMPARE(sample.color(QPalette::Window),
             QColor(chosen->backgroundLowest.red, chosen->backgroundLowest.green,
                    chosen->backgroundLowest.blue));
    QVERIFY(w->menus().mnuHinter->isChecked());
}

void TestPageCheckWindow::cancelledWhileLoading() {
    QTemporaryDir dir;
    QFile page(dir.filePath(QStringLiteral("seite.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    std::optional<std::pair<Rgb, Rgb>> applied;
    frmSeitenpruefung check(
        nullptr,
        [&applied](Rgb t, Rgb b) {
            applied = std::pair{t, b};
        },
        [&page] { return page.fileName(); },
        [](std::function<bool()> stop) { return std::make_unique<EndlessPage>(std::move(stop)); });
    check.open();
    QTest::mouseClick(byName<QPushButton>(&check, QStringLiteral("cmdDatei")), Qt::LeftButton);
    QCOMPARE(byName<QLineEdit>(&check, QStringLiteral("txtQuelle"))->text(), page.fileName());
    QTest::mouseClick(byName<QPushButton>(&check, QStringLiteral("cmdPruefen")), Qt::LeftButton);
    // The window goes on: it shows the stage, and only "Abbrechen" is offered.
    QTRY_VERIFY(byName<QLabel>(&check, QStringLiteral("lblStand"))
                    ->text()
                    .startsWith(QStringLiteral("Seite laden")));
    QVERIFY(check.running());
    QVERIFY(!byName<QPushButton>(&check, QStringLiteral("cmdPruefen"))->isEnabled());
    QVERIFY(byName<QPushButton>(&check, QStringLiteral("cmdAbbrechen"))->isEnabled());
    QTest::mouseClick(byName<QPushButton>(&check, QStringLiteral("cmdAbbrechen")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!check.running(), 2000);
    QCOMPARE(byName<QLabel>(&check, QStringLiteral("lblStand"))->text(),
             QStringLiteral("Die Prüfung wurde abgebrochen."));
    QVERIFY(byName<QPushButton>(&check, QStringLiteral("cmdPruefen"))->isEnabled());
    QVERIFY(!byName<QPushButton>(&check, QStringLiteral("cmdPaar"))->isEnabled());
    QVERIFY(!applied);
}

QTEST_MAIN(TestPageCheckWindow)
#include "test_page_check_window.moc"
