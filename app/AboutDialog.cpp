#include "AboutDialog.h"

#include "AppVersion.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QVBoxLayout>

namespace {
QPointer<AboutDialog> theAboutDialog;
} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setStyleSheet(QStringLiteral("QDialog { background-image: url(:/images/images/splash.png); }"));

    QPalette palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::WindowText, Qt::white);
    }
    const QFont normalFont(QStringLiteral("Verdana"), 8);
    const QFont smallFont(QStringLiteral("Verdana"), 7);

    auto makeLabel = [&](const QString& text, const QFont& font, const char* name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setPalette(palette);
        label->setFont(font);
        return label;
    };
    QLabel* version = makeLabel(
        tr("Version: %1 %2-%3").arg(AppVersion::text()).arg(AppVersion::buildDate).arg(AppVersion::buildNumber()),
        normalFont, "versionLabel");
    QLabel* title = makeLabel(tr("Qt Library Paths:"), normalFont, "libraryPathsTitleLabel");
    QString paths;
    const QStringList libraryPaths = QCoreApplication::libraryPaths();
    for (const QString& path : libraryPaths)
        paths += QStringLiteral("   %1\n").arg(path);
    paths.chop(1);
    QLabel* pathList = makeLabel(paths, smallFont, "libraryPathsLabel");

    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(version);
    layout->addWidget(title);
    layout->addWidget(pathList);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(0);

    // The picture's size in points is that of the plain one, whichever the style sheet shows.
    const QSize size = QImageReader(QStringLiteral(":/images/images/splash.png")).size();
    setMinimumSize(size);
    setMaximumSize(size);
    setModal(true);
    installEventFilter(this);
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress)
        accept();
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::showAbout(QWidget* parent) {
    if (!theAboutDialog)
        theAboutDialog = new AboutDialog(parent);
    theAboutDialog->show();
    theAboutDialog->activateWindow();
}

AboutDialog* AboutDialog::existing() {
    return theAboutDialog;
}
