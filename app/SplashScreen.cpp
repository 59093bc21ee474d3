#include "SplashScreen.h"

#include "AppVersion.h"
#include "ScaledPixmap.h"

#include <QFontMetrics>
#include <QPainter>

SplashScreen::SplashScreen()
    : QSplashScreen(ZelWidgetsLib::ScaledPixmap::load(QStringLiteral(":/images/images/splash.png"))) {
    showMessage(QStringLiteral("none"), Qt::AlignLeft, Qt::black);
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
}

QString SplashScreen::versionText() {
    return tr("Version %1 %2-%3").arg(AppVersion::text()).arg(AppVersion::buildDate).arg(AppVersion::buildNumber());
}

void SplashScreen::drawContents(QPainter* painter) {
    painter->save();
    QFont font(QStringLiteral("Verdana"), 8, QFont::Normal);
    painter->setFont(font);
    painter->setPen(Qt::white);
    const int baseline = ZelWidgetsLib::ScaledPixmap::pointSize(pixmap()).height() - QFontMetrics(font).height() - 12;
    painter->drawText(10, baseline, versionText());
    painter->restore();
}
