#include "EffectRenderer.h"
#include "KeypadSimulator.h"
#include "MSPCustomWashEffect.h"
#include "MSPDocument.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPRandomColorEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MSPWhiteEffect.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// One scene of each kind, with parameters that make each kind show what it does.
MSPEffect* sceneEffect(int kind, MSPScene* scene) {
    MSPEffect* effect = MSPEffectFactory::instance()->create(kind, scene);
    if (auto* fixed = qobject_cast<MSPFixedColorEffect*>(effect))
        fixed->setColor(kind == 0 ? QStringLiteral("#yxy:0.6:0.45:0.41:65535") : QStringLiteral("#20c0ff"));
    if (auto* wash = qobject_cast<MSPColorWashEffect*>(effect)) {
        wash->setSpeed(30);
        wash->setDirection(kind == 4 ? 1 : 0);
    }
    if (auto* custom = qobject_cast<MSPCustomWashEffect*>(effect)) {
        custom->setWidth(kind == 4 ? 3 : 5);
        custom->setColorList(
            {QStringLiteral("#ff0000"), QStringLiteral("#yxy:0.8:0.3:0.5:65535"), QStringLiteral("#0000ff")});
    }
    if (auto* random = qobject_cast<MSPRandomColorEffect*>(effect)) {
        random->setSpeed(29);
        random->setFade(true);
    }
    if (auto* white = qobject_cast<MSPWhiteEffect*>(effect)) {
        white->setTemperature(kind == 6 ? 90 : 200);
        white->setBrightness(70);
    }
    return effect;
}

// The renderer's frame in the command line's words.
QString frameLines(const EffectRenderer& renderer, double seconds) {
    const EffectRenderer::Frame frame = renderer.frame(seconds);
    const int perPort = renderer.layout().lightsPerPort;
    QString text;
    for (int i = 0; i < frame.size(); ++i)
        text += QStringLiteral("%1 %2 %3\n")
                    .arg(i / perPort + 1)
                    .arg(i % perPort + 1)
                    .arg(EffectRenderer::screenName(frame.at(i).screen));
    return text;
}

// The renderer's frame as the simulator's JSON holds it: per port, per light.
std::pair<QJsonArray, QJsonArray> frameJson(const EffectRenderer& renderer, double seconds) {
    const EffectRenderer::Frame frame = renderer.frame(seconds);
    const int perPort = renderer.layout().lightsPerPort;
    QJsonArray screen, channels;
    for (int p = 0; p < renderer.layout().ports; ++p) {
        QJsonArray portScreen, portChannels;
        for (const EffectRenderer::Light& light : frame.mid(p * perPort, perPort)) {
            portScreen.append(EffectRenderer::screenName(light.screen));
            portChannels.append(QJsonArray{light.channels[0], light.channels[1], light.channels[2]});
        }
        screen.append(portScreen);
        channels.append(portChannels);
    }
    return {screen, channels};
}

} // namespace

// The editor's renderer, the simulator's lights and the command line's render show one scene at
// one moment alike, light for light.
class TestLightsAgree : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_sim.start());
    }

    void agree_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("profile");
        QTest::addColumn<double>("seconds");
        QTest::newRow("fixed chromaticity, RGBW") << 0 << 2 << 12.5;
        QTest::newRow("variable colour") << 1 << 0 << 0.0;
        QTest::newRow("colour wash") << 2 << 0 << 3.3;
        QTest::newRow("rainbow wash, wide gamut") << 3 << 9 << 7.75;
        QTest::newRow("custom wash, Dual White") << 4 << 6 << 1.2;
        QTest::newRow("custom wash") << 4 << 0 << 95.0;
        QTest::newRow("random colour with fade") << 5 << 0 << 10.6;
        QTest::newRow("RGB white") << 6 << 0 << 1.0;
        QTest::newRow("Duo white, Tunable White") << 7 << 7 << 1.0;
    }
    void agree() {
        QFETCH(int, kind);
        QFETCH(int, profile);
        QFETCH(double, seconds);
        const int number = kind + 1;
        MSPSceneModel* model = MSPSceneModel::instance();
        MSPScene* scene = model->scene(kind);
        scene->setURL(QStringLiteral("/api/v1/shows/%1").arg(number));
        scene->setEffect(sceneEffect(kind, scene), false);
        SystemConfiguration* configuration = SystemConfiguration::instance();
        configuration->setNumberOfPorts(3, false);
        configuration->setLightsPerPort(11, false);
        configuration->setFixtureClass(profile, false);
        const QByteArray document = MSPDocument::fileContents();
        const QString fileName = m_dir.filePath(QStringLiteral("scene%1.xml").arg(number));
        QVERIFY(TestSupport::writeFile(fileName, document));

        // What the editor reads back from the file is what all three play.
        QVERIFY(MSPDocument::read(document, false).ok);
        EffectRenderer renderer;
        renderer.setLayout(EffectRenderer::Layout::of(*configuration));
        renderer.setSceneNumber(number);
        renderer.setEffect(model->scene(kind)->effect());
        const QString expected = frameLines(renderer, seconds);
        QCOMPARE(expected.count(QLatin1Char('\n')), 33);

        const Run run = cli({QStringLiteral("render"), fileName, QStringLiteral("--scene"), QString::number(number),
                             QStringLiteral("--at"), QString::number(seconds)});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.out, expected);

        QVERIFY(m_sim.setConfig(QStringLiteral("num_ports=3&num_lights=11&global_profile=%1").arg(profile).toLatin1()));
        QVERIFY(m_sim.setScene(number, model->scene(kind)->PostData().toLatin1()));
        m_sim.press(number);
        const QJsonObject lights = lightsAt(QByteArray::number(seconds));
        QCOMPARE(lights.value(QStringLiteral("scene")).toInt(), number);
        const auto [screen, channels] = frameJson(renderer, seconds);
        QCOMPARE(lights.value(QStringLiteral("screen")).toArray(), screen);
        QCOMPARE(lights.value(QStringLiteral("channels")).toArray(), channels);

        // Without a time, the frame of the moment the keypad is at in its scene.
        const QJsonObject now = lightsAt(QByteArray());
        const double playing = now.value(QStringLiteral("seconds")).toDouble();
        QVERIFY(playing >= 0 && playing < 60);
        QCOMPARE(now.value(QStringLiteral("screen")).toArray(), frameJson(renderer, playing).first);
    }

    // Fewer lights than the file names, and what the command refuses.
    void renderOptions() {
        const QString fileName = m_dir.filePath(QStringLiteral("scene3.xml"));
        const Run run = cli({"render", fileName, "--scene", "3", "--at", "2", "--lights", "4"});
        QCOMPARE(run.out.count(QLatin1Char('\n')), 3 * 4);
        QVERIFY(run.out.contains(QLatin1String("\n3 4 #")));
        const QList<std::pair<QStringList, QString>> refusals = {
            {{"render", fileName, "--scene", "9", "--at", "1"}, "--scene needs a scene number from 1 to 8"},
            {{"render", fileName, "--scene", "3", "--at", "-1"}, "--at needs a time in seconds, 0 or more"},
            {{"render", fileName, "--scene", "3", "--at", "1", "--lights", "171"}, "from 1 to 170"},
        };
        for (const auto& [arguments, message] : refusals) {
            const Run refused = cli(arguments);
            QCOMPARE(refused.exitCode, 1);
            QVERIFY2(refused.err.contains(message) && refused.out.isEmpty(), qPrintable(refused.err));
        }
        QCOMPARE(cli({"render", m_dir.filePath("none.xml"), "--scene", "3", "--at", "1"}).exitCode, 4);
        QVERIFY(cli({"--help"}).out.contains(QLatin1String("render FILE --scene N --at SECONDS [--lights K]")));
    }

private:
    QJsonObject lightsAt(const QByteArray& seconds) {
        const QByteArray reply = m_sim.command("lights " + seconds);
        if (!reply.startsWith("lights ")) {
            qWarning() << "lights refused:" << reply;
            return {};
        }
        return QJsonDocument::fromJson(reply.mid(7)).object();
    }

    Run cli(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        process.setProcessEnvironment(environment);
        process.start(TestSupport::binDir() + QStringLiteral("/lumetto-keypad-cli"), arguments);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    QTemporaryDir m_dir;
    KeypadSimulator m_sim;
};

LUMETTO_NETWORK_TEST_MAIN(TestLightsAgree, "tst_lightsagree", QCoreApplication)

#include "tst_lightsagree.moc"
