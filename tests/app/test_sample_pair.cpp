// The pair model's contract, heard through the real window: what each user action makes
// `changed` say, once per real change and in the order the setters paint, and that the sample
// label (and its description) already show the new pair when an observer hears of it.

#include "app/scheme_list.h"
#include "base/hex_digit.h"
#include "window_driver.h"

#include <QAction>
#include <QPushButton>

using namespace pigmora;
using test::byName;

class TestSamplePair : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::setUpOnce(); }
    void cleanup() { window_.window.reset(); }

    void whatChangedSays_data();
    void whatChangedSays();

private:
    test::WindowUnderTest window_;
};

void TestSamplePair::whatChangedSays_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("heard"); // T text colour, B background, Z edit target
    QTest::newRow("slider step") << "slider"
                                 << "B";
    QTest::newRow("typed digit") << "digit"
                                 << "B";
    QTest::newRow("digit that changes no channel") << "zero"
                                                   << "";
    QTest::newRow("text target, both colours black") << "vorder"
                                                     << "Z";
    // The setters reload the sliders one channel at a time, so the text colour passes through
    // the mixed states the label shows.
    QTest::newRow("text target after a background") << "vorderAfterBackground"
                                                    << "ZTTT";
    QTest::newRow("background target again") << "hinterAfterText"
                                             << "ZBBB";
    QTest::newRow("scheme picked") << "scheme"
                                   << "TTTBBB";
}

void TestSamplePair::whatChangedSays() {
    QFETCH(QString, action);
    QFETCH(QString, heard);
    window_.fresh();
    QVERIFY(window_.open());
    frmHauptprogramm* w = window_.get();
    auto* vorder = byName<QAction>(w, "mnuVorder");
    auto* hinter = byName<QAction>(w, "mnuHinter");
    if (action == "vorderAfterBackground" || action == "hinterAfterText")
        test::typeColour(w, 10, 20, 30);
    if (action == "hinterAfterText") {
        vorder->trigger();
        test::typeColour(w, 40, 50, 60);
    }
    if (action == "scheme") {
        window_.dialogs.promptAnswers << QStringLiteral("Abend");
        test::typeColour(w, 4, 5, 6);
        vorder->trigger();
        test::typeColour(w, 1, 2, 3);
        byName<QPushButton>(w, "cmdNeueFarbe")->click();
        test::typeColour(w, 0, 0, 0); // the background black again, the text stays 1, 2, 3
    }

    QString said;
    QWidget* sample = byName(w, "lblTest");
    const SamplePair& pair = w->pair();
    connect(&pair, &SamplePair::changed, this, [&](SamplePair::Parts what) {
        said += what == SamplePair::Text ? "T" : what == SamplePair::Background ? "B" : "Z";
        // The label and its description were repainted before anyone connected later heard.
        QCOMPARE(foreColour(sample), packColour(pair.text()));
        QCOMPARE(backColour(sample), packColour(pair.background()));
        QVERIFY(sample->accessibleDescription().startsWith(
            QStringLiteral("Text %1 auf %2")
                .arg(hashHexText(pair.text(), LetterCase::Upper),
                     hashHexText(pair.background(), LetterCase::Upper))));
        QCOMPARE(pair.editsText(), vorder->isChecked());
    });

    if (action == "slider") {
        auto* slider = byName<QAbstractSlider>(w, "sldRot");
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Right);
    } else if (action == "digit" || action == "zero") {
        auto* box = byName<QLineEdit>(w, "txtGrün");
        box->setFocus();
        box->end(false);
        QTest::keyClick(box, action == "digit" ? Qt::Key_5 : Qt::Key_0);
    } else if (action == "vorder" || action == "vorderAfterBackground") {
        vorder->trigger();
    } else if (action == "hinterAfterText") {
        hinter->trigger();
    } else if (action == "scheme") {
        byName<SchemeList>(w, "cmbFarbe")->setSelectedIndex(0);
        QCOMPARE(pair.text(), (Rgb{1, 2, 3}));
        QCOMPARE(pair.background(), (Rgb{4, 5, 6}));
    }
    QCOMPARE(said, heard);
}

QTEST_MAIN(TestSamplePair)
#include "test_sample_pair.moc"
