#include "ColorMimeData.h"
#include "TestEnvironment.h"
#include "ZelColorLibrary.h"

#include <QDrag>
#include <QMimeData>
#include <memory>

using ZelColorPickerLib::ColorMimeData;

class TestColorMimeData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTrip();
    void libraryColourWinsOverText();
    void foreignAndToolkitFormats();
    void undecodablePayloads();
    void dragPicture();
};

void TestColorMimeData::initTestCase() {
    ZelColorLibrary::Instance()->createColorList(QStringLiteral("Payload"), true);
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
    QVERIFY(ColorMimeData::canDecode(data.get()));

    const QList<ColorMimeData::Entry> back = ColorMimeData::decode(data.get());
    QCOMPARE(back.size(), 3);
    QCOMPARE(back.at(0).uid, QStringLiteral("u-1"));
    QCOMPARE(back.at(0).color, ZelColor::fromRgb8(255, 0, 0));
    QCOMPARE(back.at(0).name, QStringLiteral("Red, deep"));
    QCOMPARE(back.at(0).vendorId, QStringLiteral("R%1"));
    QCOMPARE(back.at(1).uid, QString());
    QCOMPARE(back.at(1).color, white);
    QCOMPARE(back.at(2).uid, QString()); // a uid that would break the payload is not sent
    QCOMPARE(back.at(2).vendorId, QStringLiteral("B,2"));
    QCOMPARE(ColorMimeData::first(data.get()).name, QStringLiteral("Red, deep"));

    QCOMPARE(ZelColorLibrary::UidAndValueToUid(ColorMimeData::item(entries.at(1))), QStringLiteral("u-1"));
    QCOMPARE(ZelColorLibrary::UidAndValueToValue(ColorMimeData::item(entries.at(1))), QStringLiteral("#ff0000"));
}

void TestColorMimeData::libraryColourWinsOverText() {
    const QString uid = ZelColorLibrary::Instance()->createColorWithName(
        ZelColor::fromRgb8(10, 200, 30), QStringLiteral("Leaf"), QString(), QStringLiteral("Payload"), QString());
    QMimeData data;
    data.setData(ColorMimeData::ColorType, (uid + QStringLiteral("#000000,stale#00ff00")).toLatin1());
    const QList<ColorMimeData::Entry> entries = ColorMimeData::decode(&data);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(0).color, ZelColor::fromRgb8(10, 200, 30));
    QCOMPARE(entries.at(1).color, ZelColor::fromRgb8(0, 255, 0));
    QCOMPARE(entries.at(1).uid, QStringLiteral("stale"));
}

void TestColorMimeData::foreignAndToolkitFormats() {
    QMimeData foreign;
    foreign.setData(ColorMimeData::ForeignType, "#112233,#445566");
    QVERIFY(ColorMimeData::canDecode(&foreign));
    const QList<ColorMimeData::Entry> entries = ColorMimeData::decode(&foreign);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(1).color, ZelColor::fromRgb8(0x44, 0x55, 0x66));

    QMimeData toolkit;
    toolkit.setColorData(QColor(1, 2, 3));
    QVERIFY(ColorMimeData::canDecode(&toolkit));
    QCOMPARE(ColorMimeData::first(&toolkit).color.toQColor(), QColor(1, 2, 3));
}

void TestColorMimeData::undecodablePayloads() {
    QMimeData text;
    text.setText(QStringLiteral("#ff0000"));
    QVERIFY(!ColorMimeData::canDecode(&text));
    QVERIFY(!ColorMimeData::canDecode(nullptr));

    QMimeData garbage;
    garbage.setData(ColorMimeData::ColorType, "nothing,at all,#zzz");
    QVERIFY(ColorMimeData::canDecode(&garbage));
    QVERIFY(ColorMimeData::decode(&garbage).isEmpty());
    QCOMPARE(ColorMimeData::first(&garbage).color, ZelColor::fromRgb8(255, 0, 255));

    // A hostile payload is cut, not read whole.
    QMimeData flood;
    QByteArray many;
    for (int i = 0; i < ColorMimeData::MaxItems + 50; ++i)
        many += "#ff0000,";
    flood.setData(ColorMimeData::ColorType, many);
    QCOMPARE(ColorMimeData::decode(&flood).size(), ColorMimeData::MaxItems);
    QMimeData huge;
    huge.setData(ColorMimeData::ColorType, QByteArray(ColorMimeData::MaxPayloadBytes + 1, '#'));
    QVERIFY(ColorMimeData::decode(&huge).isEmpty());
}

void TestColorMimeData::dragPicture() {
    QObject source;
    QDrag* drag =
        ColorMimeData::createDrag(&source, {{QString(), ZelColor::fromRgb8(0, 0, 255), QString(), QString()}});
    QCOMPARE(drag->hotSpot(), QPoint(16, 16));
    QCOMPARE(drag->pixmap().size(), QSize(22, 22));
    QCOMPARE(drag->pixmap().toImage().pixelColor(11, 11), QColor(0, 0, 255));
    QCOMPARE(drag->mimeData()->data(ColorMimeData::ColorType), QByteArray("#0000ff"));
}

LUMETTO_TEST_MAIN(TestColorMimeData, "tst_colormimedata")
#include "tst_colormimedata.moc"
