#include "MSPDocument.h"

#include "MSPHandler.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"

#include <QDebug>
#include <QIODevice>
#include <QXmlInputSource>
#include <QXmlSimpleReader>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

QString MSPDocument::text(const MSPSceneModel& model, const SystemConfiguration& configuration) {
    QString text = QLatin1String("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<v1>\n<all_shows>\n");
    text += QLatin1String("<currentShow>") + QString::number(model.activeSceneIndex() + 1) +
            QLatin1String("</currentShow>\n");
    for (int row = 0; row < MSPSceneModel::sceneCount; ++row) {
        if (const MSPScene* scene = model.scene(row))
            text += scene->XMLData();
        text += QLatin1Char('\n');
    }
    text += QLatin1String("</all_shows>") + configuration.XMLData(false) + QLatin1String("\n</v1>");
    return text;
}

QString MSPDocument::text() {
    return text(*MSPSceneModel::instance(), *SystemConfiguration::instance());
}

QByteArray MSPDocument::fileContents() {
    // Text content is escaped to ISO-8859-1 characters, so nothing is lost here.
    return text().toLatin1();
}

MSPDocument::ReadResult MSPDocument::read(const QByteArray& data, bool sendToDevice) {
    ReadResult result;
    if (data.size() > maximumSize) {
        result.error = QStringLiteral("document of %1 bytes is larger than %2 bytes").arg(data.size()).arg(maximumSize);
        qWarning().noquote() << result.error;
        return result;
    }
    QXmlInputSource source;
    source.setData(data);
    QXmlSimpleReader reader;
    MSPHandler handler(sendToDevice);
    reader.setContentHandler(&handler);
    reader.setErrorHandler(&handler);
    result.ok = reader.parse(&source, false);
    result.currentShowIndex = handler.currentShowIndex();
    if (!result.ok) {
        result.error = handler.failure();
        if (result.error.isEmpty())
            result.error = QStringLiteral("document unreadable");
    }
    return result;
}

MSPDocument::ReadResult MSPDocument::read(QIODevice* device, bool sendToDevice) {
    if (!device || !device->isReadable()) {
        ReadResult result;
        result.error = QStringLiteral("no readable document");
        qWarning().noquote() << result.error;
        return result;
    }
    // One byte more than allowed tells a document at the limit from a larger one.
    return read(device->read(maximumSize + 1), sendToDevice);
}

QT_WARNING_POP
