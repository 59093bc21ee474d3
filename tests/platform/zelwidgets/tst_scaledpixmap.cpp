#include "ScaledPixmap.h"
#include "TestEnvironment.h"

#include <QImage>
#include <QTemporaryDir>

using ZelWidgetsLib::ScaledPixmap;

// A picture and its twin for screens at 200 %: the twin only where a screen needs it and it exists,
// laid out at the picture's size in points either way.
class tst_ScaledPixmap : public QObject {
    Q_OBJECT

private slots:
    void picksTheTwinOnlyWhereItHelps() {
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("key.png"));
        const QString lonely = dir.filePath(QStringLiteral("lonely.png"));
        QImage picture(10, 6, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(plain) && picture.save(lonely));
        QImage twin(20, 12, QImage::Format_ARGB32);
        twin.fill(Qt::blue);
        QVERIFY(twin.save(dir.filePath(QStringLiteral("key@2x.png"))));

        QCOMPARE(ScaledPixmap::fileFor(plain, 1), plain);
        QCOMPARE(ScaledPixmap::fileFor(plain, 1.5), dir.filePath(QStringLiteral("key@2x.png")));
        QCOMPARE(ScaledPixmap::fileFor(plain, 2), dir.filePath(QStringLiteral("key@2x.png")));
        QCOMPARE(ScaledPixmap::fileFor(lonely, 2), lonely);

        const QPixmap sharp = ScaledPixmap::load(plain, 2);
        QCOMPARE(sharp.size(), QSize(20, 12));
        QCOMPARE(sharp.devicePixelRatio(), 2.0);
        QCOMPARE(ScaledPixmap::pointSize(sharp), QSize(10, 6));
        QCOMPARE(sharp.toImage().pixelColor(0, 0), QColor(Qt::blue));

        const QPixmap normal = ScaledPixmap::load(plain, 1);
        QCOMPARE(normal.devicePixelRatio(), 1.0);
        QCOMPARE(ScaledPixmap::pointSize(normal), QSize(10, 6));
        QCOMPARE(normal.toImage().pixelColor(0, 0), QColor(Qt::red));

        const QPixmap alone = ScaledPixmap::load(lonely, 2);
        QCOMPARE(alone.devicePixelRatio(), 1.0);
        QCOMPARE(ScaledPixmap::pointSize(alone), QSize(10, 6));
        QVERIFY(ScaledPixmap::load(dir.filePath(QStringLiteral("missing.png")), 2).isNull());
    }
};

LUMETTO_TEST_MAIN(tst_ScaledPixmap, "tst_scaledpixmap")
#include "tst_scaledpixmap.moc"
