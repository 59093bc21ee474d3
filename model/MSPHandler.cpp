#include "MSPHandler.h"

#include "MSPDeviceLink.h"
#include "MSPEffect.h"
#include "MSPEffectFactory.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "ModelLog.h"
#include "SystemConfiguration.h"

#include <QDebug>

#include <algorithm>
#include <cmath>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {

int byteValue(const QString& text) {
    return std::clamp(text.toInt(), 0, 255);
}

// The scene a show's url names by its last character, 1 to 8; -1 for any other url.
int sceneIndexOf(const QString& url) {
    if (url.isEmpty())
        return -1;
    const QChar last = url.at(url.size() - 1);
    if (last < QLatin1Char('1') || last > QLatin1Char('8'))
        return -1;
    return last.unicode() - '1';
}

const QString configPath = QStringLiteral("/api/v1/config");

} // namespace

MSPHandler::MSPHandler(bool sendToDevice)
    : m_sceneModel(MSPSceneModel::instance())
    , m_configuration(SystemConfiguration::instance())
    , m_sendToDevice(sendToDevice)
    , m_profile(SystemConfiguration::instance()->fixtureClass()) {}

MSPHandler::MSPHandler(MSPSceneModel* model, SystemConfiguration* configuration)
    : m_sceneModel(model)
    , m_configuration(configuration)
    , m_sendToDevice(false)
    , m_linked(false)
    , m_profile(SystemConfiguration::instance()->fixtureClass()) {}

void MSPHandler::setDocumentLocator(QXmlLocator* locator) {
    m_locator = locator;
}

float MSPHandler::documentChromaticity(const QString& text, int scale) {
    bool ok = false;
    const int number = text.toUShort(&ok);
    if (!ok || number == 0)
        return 0;
    // The nearest float may lie just below n / scale, and the writers truncate: saved again it
    // would come out as n - 1, one step further with every save. Take the float just above.
    float value = float(double(number) / scale);
    if (std::trunc(double(value) * scale) < number)
        value = std::nextafter(value, 2.0f * value);
    return value;
}

bool MSPHandler::fail(const QString& reason) {
    if (m_locator)
        m_failureLine = m_locator->lineNumber();
    qCWarning(lcModel).noquote() << "document rejected at line" << m_failureLine << reason;
    m_failure = reason;
    return false;
}

bool MSPHandler::startElement(const QString& /*namespaceURI*/, const QString& /*localName*/, const QString& qName,
                              const QXmlAttributes& /*attributes*/) {
    m_elementText.clear();
    if (++m_depth > maximumDepth)
        return fail(QStringLiteral("elements nested deeper than %1").arg(maximumDepth));

    if (qName == QLatin1String("all_shows")) {
        MSPDeviceLink* link = m_linked ? MSPDeviceLink::registered() : nullptr;
        if (link)
            link->setPostsSuppressed(!m_sendToDevice);
    } else if (qName == QLatin1String("parameters")) {
        m_paramTexts.clear();
        m_colorTriple = Triple();
        m_paramTriple = Triple();
    } else if (qName == QLatin1String("customColors")) {
        m_colors.clear();
    } else if (qName == QLatin1String("color")) {
        m_colorTriple = Triple();
        // A colour element that lacks a channel must not inherit it from the colour before.
        m_currentColor = ZelColor();
    }
    return true;
}

bool MSPHandler::characters(const QString& text) {
    // The reader may deliver one text in pieces (around character references, for one), so the
    // pieces since the last tag make up the element's text.
    if (m_elementText.size() + text.size() > maximumTextLength)
        return fail(QStringLiteral("a text longer than %1 characters").arg(maximumTextLength));
    m_elementText += text;
    return true;
}

bool MSPHandler::endElement(const QString& /*namespaceURI*/, const QString& /*localName*/, const QString& qName) {
    --m_depth;
    const QString text = m_elementText;
    m_elementText.clear();

    if (qName == QLatin1String("url")) {
        m_urlText = text;
    } else if (qName == QLatin1String("param")) {
        m_paramTexts.append(text);
    } else if (qName == QLatin1String("by")) {
        m_colorTriple.Y = documentChromaticity(text, 1000);
    } else if (qName == QLatin1String("x")) {
        m_colorTriple.x = documentChromaticity(text, 10000);
    } else if (qName == QLatin1String("y")) {
        m_colorTriple.y = documentChromaticity(text, 10000);
    } else if (qName == QLatin1String("red")) {
        m_currentColor.setRed8(byteValue(text));
    } else if (qName == QLatin1String("grn")) {
        m_currentColor.setGreen8(byteValue(text));
    } else if (qName == QLatin1String("blu")) {
        m_currentColor.setBlue8(byteValue(text));
    } else if (qName == QLatin1String("color")) {
        if (!m_colorTriple.isZero()) {
            m_currentColor = ZelColor();
            m_currentColor.setY(m_colorTriple.Y);
            m_currentColor.setx(m_colorTriple.x);
            m_currentColor.sety(m_colorTriple.y);
        }
        // An empty colour element plays as black on the keypad; an invalid colour has no text an
        // editor could show or a file could carry.
        if (!m_currentColor.isValid())
            m_currentColor = ZelColor::fromRgb8(0, 0, 0);
        m_colors.append(m_currentColor);
    } else if (qName == QLatin1String("parameters")) {
        m_paramTriple = m_colorTriple;
    } else if (qName == QLatin1String("effect")) {
        m_effectType = text.toInt();
    } else if (qName == QLatin1String("numColors")) {
        m_numColors = text.toInt();
    } else if (qName == QLatin1String("show")) {
        endShow();
    } else if (qName == QLatin1String("value")) {
        m_propertyValue = text;
    } else if (qName == QLatin1String("property")) {
        return endProperty();
    } else if (qName == QLatin1String("config")) {
        if (m_sendToDevice)
            writeConfiguration();
    } else if (qName == QLatin1String("currentShow")) {
        const int index = text.toInt() - 1;
        if (index >= 0 && index < MSPSceneModel::sceneCount) {
            m_currentShowIndex = index;
        } else {
            qCWarning(lcModel) << "ignored current show" << text;
            m_currentShowIndex = -1;
        }
    } else if (qName == QLatin1String("brightness")) {
        if (!m_sendToDevice)
            m_configuration->setBrightness(text == QLatin1String("off") ? -1 : text.toInt());
    } else if (qName == QLatin1String("all_shows")) {
        endAllShows();
    }
    return true;
}

void MSPHandler::endShow() {
    const int index = sceneIndexOf(m_urlText);
    MSPScene* scene = m_sceneModel->scene(index);
    if (!scene) {
        qCWarning(lcModel) << "skipped a show with url" << m_urlText;
        return;
    }
    MSPEffect* effect = scene->effect();
    if (effect && effect->type() == m_effectType) {
        effect->setParams(m_paramTexts, m_colors, m_numColors, m_profile, m_paramTriple.Y, m_paramTriple.x,
                          m_paramTriple.y);
    } else {
        effect = MSPEffectFactory::instance()->create(m_effectType, nullptr);
        if (effect) {
            effect->setParams(m_paramTexts, m_colors, m_numColors, m_profile, m_paramTriple.Y, m_paramTriple.x,
                              m_paramTriple.y);
        }
        scene->setEffect(effect, true);
    }
    scene->setURL(m_urlText);
    if (m_sendToDevice)
        writeScene(index);
}

bool MSPHandler::endProperty() {
    qCDebug(lcModel) << "got property" << m_urlText;
    const QString key = m_urlText.split(QLatin1Char('/')).last();
    const QString& value = m_propertyValue;
    if (key == QLatin1String("name")) {
        m_configuration->setName(value);
    } else if (key == QLatin1String("ip")) {
        m_configuration->setIpAddress(value);
    } else if (key == QLatin1String("universe")) {
        m_configuration->setUniverse(value.toInt());
    } else if (key == QLatin1String("vexil")) {
        m_configuration->setVexilMode(value.toInt());
    } else if (key == QLatin1String("num_ports")) {
        m_configuration->setNumberOfPorts(value.toInt());
    } else if (key == QLatin1String("num_lights")) {
        m_configuration->setLightsPerPort(value.toInt());
    } else if (key == QLatin1String("brightness")) {
        // A file's brightness is not applied to a keypad: writing a file sets it to full instead.
        if (!m_sendToDevice)
            m_configuration->setBrightness(value == QLatin1String("off") ? -1 : value.toInt());
    } else if (key == QLatin1String("version")) {
        m_configuration->setVersion(value);
    } else if (key == QLatin1String("switch_state")) {
        return applySwitchState();
    } else if (key == QLatin1String("global_profile")) {
        m_configuration->setFixtureClass(value.toInt());
    }
    return true;
}

bool MSPHandler::applySwitchState() {
    qCDebug(lcModel) << "got switch state";
    const QStringList parts = m_propertyValue.split(QLatin1Char(','));
    const bool valid = parts.size() == 11 && std::all_of(parts.cbegin(), parts.cend(), [](const QString& part) {
                           return part == QLatin1String("0") || part == QLatin1String("1");
                       });
    if (!valid)
        return fail(QStringLiteral("switch state \"%1\"").arg(m_propertyValue));

    auto on = [&parts](int i) { return parts.at(i) != QLatin1String("0"); };
    SystemConfiguration* c = m_configuration;
    // Ten quiet updates and one that reports: the editor hears one configurationChanged.
    c->setScene1CheckBoxState(on(0), false);
    c->setScene2CheckBoxState(on(1), false);
    c->setScene3CheckBoxState(on(2), false);
    c->setScene4CheckBoxState(on(3), false);
    c->setScene5CheckBoxState(on(4), false);
    c->setScene6CheckBoxState(on(5), false);
    c->setScene7CheckBoxState(on(6), false);
    c->setScene8CheckBoxState(on(7), false);
    c->setOnOffCheckBoxState(on(8), false);
    c->setUpCheckBoxState(on(9), false);
    c->setDownCheckBoxState(on(10), true);
    return true;
}

void MSPHandler::writeScene(int index) {
    MSPScene* scene = m_sceneModel->scene(index);
    if (!scene)
        return;
    // Built now: the scene's text depends on the fixture profile the document has set so far.
    m_restore.addScene(index + 1, scene->url(), scene->PostData());
}

void MSPHandler::writeConfiguration() {
    // A document written to a keypad leaves it at full brightness.
    m_configuration->setBrightness(255);
    m_restore.addConfiguration(configPath, m_configuration->PostData(false, true));
}

void MSPHandler::endAllShows() {
    qCDebug(lcModel) << "all shows";
    MSPDeviceLink* link = m_linked ? MSPDeviceLink::registered() : nullptr;
    if (link)
        link->setPostsSuppressed(false);
    if (m_sendToDevice && m_currentShowIndex > -1)
        m_restore.addCurrentScene(m_currentShowIndex + 1);
}

bool MSPHandler::warning(const QXmlParseException& exception) {
    qCWarning(lcModel).noquote() << QStringLiteral("document warning at %1:%2: %3")
                                        .arg(exception.lineNumber())
                                        .arg(exception.columnNumber())
                                        .arg(exception.message());
    return true;
}

bool MSPHandler::error(const QXmlParseException& exception) {
    qCWarning(lcModel).noquote() << QStringLiteral("document error at %1:%2: %3")
                                        .arg(exception.lineNumber())
                                        .arg(exception.columnNumber())
                                        .arg(exception.message());
    return true;
}

bool MSPHandler::fatalError(const QXmlParseException& exception) {
    const QString message = QStringLiteral("line %1, column %2: %3")
                                .arg(exception.lineNumber())
                                .arg(exception.columnNumber())
                                .arg(exception.message());
    qCWarning(lcModel).noquote() << "document unreadable at" << message;
    if (m_failure.isEmpty()) {
        m_failure = message;
        m_failureLine = exception.lineNumber();
    }
    return true;
}

QString MSPHandler::errorString() const {
    return QString();
}

QT_WARNING_POP
