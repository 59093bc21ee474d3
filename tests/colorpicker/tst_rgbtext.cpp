#include "RgbText.h"
#include "TestEnvironment.h"

using namespace ZelColorPickerLib;

Q_DECLARE_METATYPE(RgbText::Form)

class TestRgbText : public QObject {
    Q_OBJECT

private slots:
    void colours_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");
        QTest::addColumn<RgbText::Form>("form");
        const RgbText::Form hex = RgbText::Form::Hex, decimal = RgbText::Form::Decimal;
        QTest::newRow("hash") << "#ff8000" << 255 << 128 << 0 << hex;
        QTest::newRow("no hash, upper case") << "FF8000" << 255 << 128 << 0 << hex;
        QTest::newRow("mixed case, spaces around") << "  #0a0B0c " << 10 << 11 << 12 << hex;
        QTest::newRow("commas") << "255, 128, 0" << 255 << 128 << 0 << decimal;
        QTest::newRow("tight commas") << "1,2,3" << 1 << 2 << 3 << decimal;
        QTest::newRow("spaces only") << "12 34 56" << 12 << 34 << 56 << decimal;
        QTest::newRow("space before comma, tab") << "0 ,\t255 , 7" << 0 << 255 << 7 << decimal;
        QTest::newRow("leading zeros") << "007, 010, 255" << 7 << 10 << 255 << decimal;
    }

    void colours() {
        QFETCH(QString, text);
        const RgbText::Result result = RgbText::parse(text);
        QVERIFY2(result.ok && result.error.isEmpty(), qPrintable(result.error));
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        QFETCH(RgbText::Form, form);
        QCOMPARE(QList<int>({result.red, result.green, result.blue}), QList<int>({red, green, blue}));
        QCOMPARE(result.form, form);
        // What is shown reads back as the same colour in the same form.
        const RgbText::Result again = RgbText::parse(RgbText::format(red, green, blue, form));
        QVERIFY(again.ok && again.red == red && again.green == green && again.blue == blue && again.form == form);
    }

    void refusals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("empty") << ""
                               << "#rrggbb";
        QTest::newRow("blank") << "   "
                               << "#rrggbb";
        QTest::newRow("five digits") << "#ff800"
                                     << "#ff800";
        QTest::newRow("seven digits") << "ff80001"
                                      << "ff80001";
        QTest::newRow("not hex") << "#ff80zz"
                                 << "#ff80zz";
        QTest::newRow("short form") << "#fff"
                                    << "#fff";
        QTest::newRow("two hashes") << "##ff8000"
                                    << "##ff8000";
        QTest::newRow("colour name") << "red"
                                     << "red";
        QTest::newRow("two numbers") << "255, 128"
                                     << "255, 128";
        QTest::newRow("four numbers") << "1, 2, 3, 4"
                                      << "1, 2, 3, 4";
        QTest::newRow("empty number") << "1,,3"
                                      << "1,,3";
        QTest::newRow("trailing comma") << "1, 2, 3,"
                                        << "1, 2, 3,";
        QTest::newRow("too large") << "256, 0, 0"
                                   << "256";
        QTest::newRow("negative") << "0, -1, 0"
                                  << "-1";
        QTest::newRow("huge") << "0, 0, 99999999999"
                              << "99999999999";
        QTest::newRow("fraction") << "0.5, 0, 0"
                                  << "0.5";
        QTest::newRow("hex among numbers") << "ff, 0, 0"
                                           << "ff";
        QTest::newRow("plus sign") << "+1, 0, 0"
                                   << "+1";
    }

    void refusals() {
        QFETCH(QString, text);
        QFETCH(QString, named);
        const RgbText::Result result = RgbText::parse(text);
        QVERIFY(!result.ok);
        // The user reads what was wrong, with the offending part quoted.
        QVERIFY2(result.error.contains(named), qPrintable(result.error));
    }
};

LUMETTO_TEST_MAIN_CORE(TestRgbText, "tst_rgbtext")
#include "tst_rgbtext.moc"
