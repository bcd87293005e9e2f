#include "app/status_bar.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTest>

using namespace pigmora;

// What the clock keeps of a time format. withoutSeconds must remove exactly what this pattern
// matches (how the clock used to do it), in the formats of every locale Qt knows.
class TestStatusBar : public QObject {
    Q_OBJECT
private slots:
    void withoutSeconds_data();
    void withoutSeconds();
    void everyLocaleLosesItsSeconds();

private:
    static QString reference(QString format) {
        static const QRegularExpression seconds(QStringLiteral("[:.,]?s{1,2}(\\.z{1,3})?"));
        return format.remove(seconds);
    }
};

void TestStatusBar::withoutSeconds_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("kept");
    QTest::newRow("German") << "HH:mm:ss"
                            << "HH:mm";
    QTest::newRow("short already") << "HH:mm"
                                   << "HH:mm";
    QTest::newRow("milliseconds") << "hh:mm:ss.zzz"
                                  << "hh:mm";
    QTest::newRow("one z") << "hh:mm:s.z"
                           << "hh:mm";
    QTest::newRow("four z: the fourth stays") << "mm:ss.zzzz"
                                              << "mmz";
    QTest::newRow("point as separator") << "HH.mm.ss"
                                        << "HH.mm";
    QTest::newRow("comma as separator") << "mm,ss"
                                        << "mm";
    QTest::newRow("blank is no separator") << "mm ss AP"
                                           << "mm  AP";
    QTest::newRow("three s") << "sss"
                             << "";
    QTest::newRow("separator without seconds stays") << "h:mm:"
                                                     << "h:mm:";
    QTest::newRow("two separators: only the last goes") << "mm::ss"
                                                        << "mm:";
    QTest::newRow("point without z stays") << "ss. h"
                                           << ". h";
    QTest::newRow("seconds first") << "ss:mm"
                                   << ":mm";
    QTest::newRow("empty") << ""
                           << "";
}

void TestStatusBar::withoutSeconds() {
    QFETCH(QString, format);
    QFETCH(QString, kept);
    QCOMPARE(pigmora::withoutSeconds(format), kept);
    QCOMPARE(kept, reference(format));
}

void TestStatusBar::everyLocaleLosesItsSeconds() {
    const QTime time(17, 38, 59);
    const auto locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    for (const QLocale& locale : locales) {
        for (const auto form : {QLocale::ShortFormat, QLocale::LongFormat}) {
            const QString format = locale.timeFormat(form);
            QCOMPARE(pigmora::withoutSeconds(format), reference(format));
        }
        const QString shown = locale.toString(time, clockFormat(locale));
        QVERIFY2(!shown.contains(locale.toString(59)), qPrintable(locale.name() + ": " + shown));
    }
}

QTEST_GUILESS_MAIN(TestStatusBar)
#include "test_status_bar.moc"
