#include "ScaledPixmap.h"

#include <QFile>
#include <QGuiApplication>
#include <QtMath>

namespace ZelWidgetsLib {

QString ScaledPixmap::fileFor(const QString& path, qreal ratio) {
    if (ratio <= 1)
        return path;
    // Only twins at twice the size are drawn; at 150 % they are sharper than the original enlarged.
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString twin =
        dot > slash ? path.left(dot) + QStringLiteral("@2x") + path.mid(dot) : path + QStringLiteral("@2x");
    return QFile::exists(twin) ? twin : path;
}

QPixmap ScaledPixmap::load(const QString& path, qreal ratio) {
    const QString file = fileFor(path, ratio);
    QPixmap pixmap(file);
    if (file != path && !pixmap.isNull())
        pixmap.setDevicePixelRatio(2);
    return pixmap;
}

QPixmap ScaledPixmap::load(const QString& path) {
    return load(path, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
}

QSize ScaledPixmap::pointSize(const QPixmap& pixmap) {
    const qreal ratio = pixmap.devicePixelRatio();
    return QSize(qCeil(pixmap.width() / ratio), qCeil(pixmap.height() / ratio));
}

} // namespace ZelWidgetsLib
