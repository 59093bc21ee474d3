// Draws every picture of the program and writes them, with the resource file that lists them, into the
// build tree. Nothing binary is kept in the repository: change the drawing code and rebuild.

#include "IconArt.h"
#include "KeypadArt.h"
#include "Painting.h"
#include "PngFile.h"

#include <QCommandLineParser>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>
#include <QVector>

#include <functional>

namespace {

struct Picture {
    QString alias; // the path under ":/images/" that the program asks for
    std::function<QImage(qreal scale)> draw;
};

struct ResourceImage {
    QString alias;
    std::function<QImage()> draw;
};

// Screens at 200 % find a twice-as-large twin of each picture under the same name with "@2x" before
// the extension (Qt's style sheets and icons look for it); drawn by the same code, so the two agree.
const qreal Scales[] = {1, 2};

QString atScale(const QString& alias, qreal scale) {
    if (scale == 1)
        return alias;
    const int dot = alias.lastIndexOf(QLatin1Char('.'));
    return alias.left(dot) + QStringLiteral("@%1x").arg(scale) + alias.mid(dot);
}

QString keyStateName(KeypadArt::KeyState state) {
    switch (state) {
    case KeypadArt::KeyState::Off:
        return QStringLiteral("off");
    case KeypadArt::KeyState::On:
        return QStringLiteral("on");
    case KeypadArt::KeyState::Down:
        return QStringLiteral("down");
    case KeypadArt::KeyState::Disabled:
        return QStringLiteral("disabled");
    }
    return QString();
}

QVector<Picture> pictures() {
    using IconArt::Status;
    QVector<Picture> list = {
        {QStringLiteral("images/splash.png"), IconArt::splash},
        {QStringLiteral("images/connected.png"), [](qreal s) { return IconArt::statusIcon(Status::Connected, s); }},
        {QStringLiteral("images/discovering.png"), [](qreal s) { return IconArt::statusIcon(Status::Discovering, s); }},
        {QStringLiteral("images/disconnected.png"),
         [](qreal s) { return IconArt::statusIcon(Status::Disconnected, s); }},
        {QStringLiteral("images/unreachable.png"), [](qreal s) { return IconArt::statusIcon(Status::Unreachable, s); }},
        {QStringLiteral("images/demo.png"), [](qreal s) { return IconArt::statusIcon(Status::Demo, s); }},
        {QStringLiteral("images/background.png"), KeypadArt::background},
        {QStringLiteral("images/icon_question.png"), IconArt::question},
        {QStringLiteral("images/lumetto-keypad.png"), [](qreal s) { return IconArt::applicationIcon(256, s); }},
        {QStringLiteral("reload_arrow.png"), IconArt::reloadArrow},
        {QStringLiteral("TransparentBackground.png"), IconArt::transparentBackground},
        {QStringLiteral("ColorSelection.png"), IconArt::colorSelection},
        {QStringLiteral("userIcon.png"), IconArt::userIcon},
        {QStringLiteral("WarningIndication.png"), IconArt::warningIndication},
        {QStringLiteral("PlusSign.png"), IconArt::plusSign},
        {QStringLiteral("MinusSign.png"), IconArt::minusSign},
        {QStringLiteral("addColorGroup.png"), IconArt::addColorGroup},
        {QStringLiteral("importColors.png"), IconArt::importColors},
        {QStringLiteral("exportIcon.png"), IconArt::exportColors},
    };
    const KeypadArt::KeyState states[] = {KeypadArt::KeyState::Off, KeypadArt::KeyState::On, KeypadArt::KeyState::Down,
                                          KeypadArt::KeyState::Disabled};
    for (const KeypadArt::KeySpec& spec : KeypadArt::keys()) {
        for (KeypadArt::KeyState state : states) {
            const QString alias =
                QStringLiteral("images/button_%1_%2.png").arg(spec.imageNumber).arg(keyStateName(state));
            list.append({alias, [spec, state](qreal s) { return KeypadArt::key(spec, state, s); }});
        }
    }
    return list;
}

// Every picture at every scale, under the name the program asks for.
QVector<ResourceImage> resourceImages() {
    QVector<ResourceImage> list;
    for (const Picture& picture : pictures()) {
        for (qreal scale : Scales) {
            const auto draw = picture.draw;
            list.append({atScale(picture.alias, scale), [draw, scale] { return draw(scale); }});
        }
    }
    return list;
}

bool writeImage(const QImage& image, const QString& path) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        qCritical() << "cannot create the folder for" << path;
        return false;
    }
    QSaveFile file(path);
    const QByteArray png = PngFile::encode(image);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit()) {
        qCritical() << "cannot write" << path << file.errorString();
        return false;
    }
    return true;
}

bool writeText(const QString& path, const QByteArray& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush() || !file.commit()) {
        qCritical() << "cannot write" << path << file.errorString();
        return false;
    }
    return true;
}

QByteArray resourceFile(const QVector<ResourceImage>& images) {
    QByteArray text = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/images\">\n";
    for (const ResourceImage& image : images) {
        const QByteArray alias = image.alias.toUtf8();
        const QByteArray file = "art/" + QByteArray(alias).replace("images/", "");
        text += "    <file alias=\"" + alias + "\">" + file + "</file>\n";
    }
    text += "</qresource>\n</RCC>\n";
    return text;
}

// Every picture on one sheet, on a neutral ground, for looking them over together.
QImage contactSheet(const QVector<ResourceImage>& images) {
    const int width = 1700;
    QImage sheet(width, 2100, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0x8d, 0x93, 0x9a));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(10, 10, KeypadArt::assembledPanel(1, false));
    p.drawImage(420, 10, KeypadArt::assembledPanel(6, true));
    p.drawImage(830, 10, IconArt::splash());
    p.drawImage(830, 280, IconArt::applicationIcon(256));
    int x = 1100;
    const int sizes[] = {16, 22, 24, 32, 48, 64, 128};
    for (int size : sizes) {
        p.drawImage(x, 280, IconArt::applicationIcon(size));
        x += size + 10;
    }
    int y = 630;
    x = 10;
    int rowHeight = 0;
    p.setFont(Painting::font(10));
    for (const ResourceImage& image : images) {
        const QImage picture = image.draw();
        if (picture.devicePixelRatio() != 1)
            continue;
        if (picture.width() > 320)
            continue;
        const int cell = qMax(picture.width(), 90) + 12;
        if (x + cell > width) {
            x = 10;
            y += rowHeight + 26;
            rowHeight = 0;
        }
        p.drawImage(x, y, picture);
        p.setPen(Qt::white);
        p.drawText(QPointF(x, y + picture.height() + 14), QFileInfo(image.alias).baseName());
        x += cell;
        rowHeight = qMax(rowHeight, picture.height());
    }
    return sheet;
}

} // namespace

int main(int argc, char* argv[]) {
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the program's images into a build folder."));
    parser.addHelpOption();
    const QCommandLineOption outputOption(QStringLiteral("output"), QStringLiteral("Folder to write into."),
                                          QStringLiteral("folder"));
    const QCommandLineOption sheetOption(QStringLiteral("contact-sheet"),
                                         QStringLiteral("Also write every image on one sheet."),
                                         QStringLiteral("file"));
    parser.addOption(outputOption);
    parser.addOption(sheetOption);
    parser.process(app);
    if (!parser.isSet(outputOption)) {
        qCritical() << "--output is required";
        return 2;
    }
    const QDir out(parser.value(outputOption));

    const QVector<ResourceImage> images = resourceImages();
    for (const ResourceImage& image : images) {
        const QString file = QStringLiteral("art/") + QString(image.alias).remove(QStringLiteral("images/"));
        if (!writeImage(image.draw(), out.filePath(file)))
            return 1;
    }

    const int iconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
    for (int size : iconSizes) {
        const QString path = out.filePath(QStringLiteral("icons/hicolor/%1x%1/apps/lumetto-keypad.png").arg(size));
        if (!writeImage(IconArt::applicationIcon(size), path))
            return 1;
    }

    if (!QDir().mkpath(out.filePath(QStringLiteral("icons/hicolor/scalable/apps"))) ||
        !writeText(out.filePath(QStringLiteral("icons/hicolor/scalable/apps/lumetto-keypad.svg")),
                   IconArt::applicationIconSvg()))
        return 1;

    if (!writeImage(KeypadArt::freestandingPlate(1), out.filePath(QStringLiteral("guide/keypad.png"))) ||
        !writeImage(KeypadArt::assembledPanel(1, false), out.filePath(QStringLiteral("guide/controlpanel.png"))) ||
        !writeImage(KeypadArt::assembledPanel(0, true), out.filePath(QStringLiteral("guide/controlpanel-offline.png"))))
        return 1;
    const std::pair<const char*, IconArt::Status> statusPictures[] = {
        {"connected", IconArt::Status::Connected},
        {"discovering", IconArt::Status::Discovering},
        {"disconnected", IconArt::Status::Disconnected},
        {"unreachable", IconArt::Status::Unreachable},
        {"demo", IconArt::Status::Demo},
    };
    for (const auto& [name, status] : statusPictures) {
        const QString path = out.filePath(QStringLiteral("guide/status-%1.png").arg(QLatin1String(name)));
        if (!writeImage(IconArt::statusIcon(status), path))
            return 1;
    }

    if (parser.isSet(sheetOption) && !writeImage(contactSheet(images), parser.value(sheetOption)))
        return 1;

    // Written last: the build treats it as the sign that all the images are in place.
    return writeText(out.filePath(QStringLiteral("app_resources.qrc")), resourceFile(images)) ? 0 : 1;
}
