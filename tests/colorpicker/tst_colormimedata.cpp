#include "ColorMimeData.h"
#include "TestEnvironment.h"
#include "ZelColorLibrary.h"

#include <QMimeData>
#include <memory>

using ZelColorPickerLib::ColorMimeData;

class TestColorMimeData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip();
    void decode_data();
    void decode();
    void otherFormatsAndFallback();

private:
    QString m_leafUid;
};

void TestColorMimeData::initTestCase() {
    ZelColorLibrary::Instance()->createColorList(QStringLiteral("Payload"), true);
    m_leafUid = ZelColorLibrary::Instance()->createColorWithName(
        ZelColor::fromRgb8(10, 200, 30), QStringLiteral("Leaf"), QString(), QStringLiteral("Payload"), QString());
}

void TestColorMimeData::roundTrip() {
    ZelColor white;
    white.setYxyF(0.5, 0.4, 0.38);
    const QList<ColorMimeData::Entry> entries = {
        {QString(), ZelColor(), QStringLiteral("nothing"), QString()},
        {QStringLiteral("u-1"), ZelColor::fromRgb8(255, 0, 0), QStringLiteral("Red, deep"), QStringLiteral("R%1")},
        {QString(), white, QStringLiteral("Warm"), QString()},
        {QStringLiteral("bad#uid"), ZelColor::fromRgb8(0, 0, 255), QString(), QStringLiteral("B,2")},
    };
    std::unique_ptr<QMimeData> data(ColorMimeData::encode(entries));
    QCOMPARE(data->data(ColorMimeData::ColorType),
             QByteArray("u-1#ff0000,") + white.aName().toLatin1() + QByteArray(",#0000ff"));
    QCOMPARE(data->data(ColorMimeData::NameType), QByteArray("Red%2C deep,Warm,"));
    // Other programs see the first colour that was sent, not the one left out.
    QCOMPARE(qvariant_cast<QColor>(data->colorData()), QColor(255, 0, 0));

    const QList<ColorMimeData::Entry> back = ColorMimeData::decode(data.get());
    QCOMPARE(back.size(), 3);
    QCOMPARE(back.at(0).uid, QStringLiteral("u-1"));
    QCOMPARE(back.at(0).name, QStringLiteral("Red, deep"));
    QCOMPARE(back.at(0).vendorId, QStringLiteral("R%1"));
    QCOMPARE(back.at(1).color, white);
    QCOMPARE(back.at(2).uid, QString()); // a uid that would break the payload is not sent
    QCOMPARE(back.at(2).vendorId, QStringLiteral("B,2"));
}

void TestColorMimeData::decode_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QByteArray flood;
    for (int i = 0; i < ColorMimeData::MaxItems + 50; ++i)
        flood += "#ff0000,";
    const QString own = ColorMimeData::ColorType;
    QTest::newRow("library colour wins over its text") << own << (m_leafUid + "#000000").toLatin1() << 1 << "#0ac81e";
    QTest::newRow("unknown uid keeps its text") << own << QByteArray("stale#00ff00") << 1 << "#00ff00";
    QTest::newRow("other program") << ColorMimeData::ForeignType << QByteArray("#112233,#445566") << 2 << "#112233";
    QTest::newRow("nothing readable") << own << QByteArray("nothing,at all,#zzz") << 0 << QString();
    QTest::newRow("flood is cut") << own << flood << int(ColorMimeData::MaxItems) << "#ff0000";
    QTest::newRow("huge payload is not read")
        << own << QByteArray(ColorMimeData::MaxPayloadBytes + 1, '#') << 0 << QString();
}

void TestColorMimeData::decode() {
    QFETCH(QString, format);
    QFETCH(QByteArray, payload);
    QFETCH(int, count);
    QFETCH(QString, first);
    QMimeData data;
    data.setData(format, payload);
    QVERIFY(ColorMimeData::canDecode(&data));
    const QList<ColorMimeData::Entry> entries = ColorMimeData::decode(&data);
    QCOMPARE(entries.size(), count);
    if (count > 0)
        QCOMPARE(entries.first().color, ZelColor(first));
}

void TestColorMimeData::otherFormatsAndFallback() {
    QMimeData toolkit;
    toolkit.setColorData(QColor(1, 2, 3));
    QCOMPARE(ColorMimeData::first(&toolkit).color.toQColor(), QColor(1, 2, 3));
    QMimeData text;
    text.setText(QStringLiteral("#ff0000"));
    QVERIFY(!ColorMimeData::canDecode(&text));
    QVERIFY(!ColorMimeData::canDecode(nullptr));
    QMimeData garbage;
    garbage.setData(ColorMimeData::ColorType, "#zzz");
    QCOMPARE(ColorMimeData::first(&garbage).color, ZelColor::fromRgb8(255, 0, 255));
}

LUMETTO_TEST_MAIN(TestColorMimeData, "tst_colormimedata")
#include "tst_colormimedata.moc"
