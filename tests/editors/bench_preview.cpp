// Figures for the effect preview; not a test, it prints numbers:
//     build/tests/bench_preview
// 1. The renderer: time per frame of 8 ports of 170 lights, each kind, against a reference that
//    turns every light's channel values into a screen colour through the colour library's
//    general conversion.
// 2. The preview's painting at 30 frames a second: CPU share of one core over a few seconds,
//    against a reference widget that draws every light as an antialiased ellipse, and an idle
//    event loop. Both run in this session, so their ratio holds on a busy machine.

#include "EffectPreviewWidget.h"
#include "EffectRenderer.h"
#include "FixtureProfile.h"
#include "LightRowsWidget.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPRandomColorEffect.h"
#include "ZelColor.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

namespace {

constexpr int ports = 8;
constexpr int lightsPerPort = 170;
constexpr int paintSeconds = 4;

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

std::unique_ptr<MSPEffect> effectOf(int type, bool fade = false) {
    std::unique_ptr<MSPEffect> effect(MSPEffectFactory::instance()->create(type, nullptr));
    if (auto* custom = qobject_cast<MSPCustomWashEffect*>(effect.get())) {
        custom->setSpeed(28);
        custom->setWidth(3);
        custom->setColorList({QStringLiteral("#ff0000"), QStringLiteral("#ffd400"), QStringLiteral("#0050ff"),
                              QStringLiteral("#yxy:0.8:0.3:0.5:65535")});
    }
    if (auto* random = qobject_cast<MSPRandomColorEffect*>(effect.get())) {
        random->setSpeed(32);
        random->setFade(fade);
    }
    return effect;
}

// Microseconds per call, over enough calls to take about a quarter of a second.
double microsecondsPer(const std::function<void(int)>& work) {
    int rounds = 16;
    for (;;) {
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < rounds; ++i)
            work(i);
        const qint64 ns = clock.nsecsElapsed();
        if (ns > 250'000'000 || rounds > (1 << 22))
            return ns / 1000.0 / rounds;
        rounds *= 4;
    }
}

void renderFigures() {
    std::printf("Renderer, %d ports x %d lights, time per frame\n", ports, lightsPerPort);
    std::printf("  %-28s %10s %14s %8s\n", "effect (profile)", "renderer", "reference", "ratio");
    struct Row {
        const char* name;
        int type;
        bool fade;
        int profile;
    };
    const Row rows[] = {
        {"fixed colour (sRGB)", MSPEffect::FixedColor, false, 0},
        {"colour wash (sRGB)", MSPEffect::ColorWash, false, 0},
        {"rainbow wash (RGB LED)", MSPEffect::RainbowWash, false, 1},
        {"custom wash (RGBW LED)", MSPEffect::CustomWash, false, 2},
        {"custom wash (Tunable White)", MSPEffect::CustomWash, false, 7},
        {"random colour (sRGB)", MSPEffect::RandomColor, false, 0},
        {"random colour, fade (RGBAW)", MSPEffect::RandomColor, true, 4},
        {"Duo white (Dual White)", MSPEffect::DuoWhite, false, 6},
    };
    for (const Row& row : rows) {
        const auto effect = effectOf(row.type, row.fade);
        EffectRenderer renderer;
        renderer.setLayout({ports, lightsPerPort, row.profile});
        renderer.setSceneNumber(3);
        renderer.setEffect(effect.get());
        EffectRenderer::Frame frame;
        const double fast = microsecondsPer([&](int i) { renderer.render(i * 0.0137, &frame); });

        // The same frame, each light's screen colour worked out the general way.
        const FixtureProfile* fixture = FixtureProfile::find(row.profile);
        QVector<QRgb> screen(frame.size());
        const double reference = microsecondsPer([&](int i) {
            renderer.render(i * 0.0137, &frame);
            for (int l = 0; l < frame.size(); ++l) {
                const auto& c = frame.at(l).channels;
                double xyz[3];
                fixture->channelsToXyz({c[0] / 255.0, c[1] / 255.0, c[2] / 255.0}, xyz);
                screen[l] = ZelColor::fromXYZ(xyz[0], xyz[1], xyz[2]).toQColor().rgb();
            }
        });
        std::printf("  %-28s %7.1f us %11.1f us %8.3f\n", row.name, fast, reference, fast / reference);
    }
    std::printf("  goal: under 200 us a frame\n\n");
}

// The obvious way to draw the lights: an antialiased ellipse each, every frame.
class EllipseLights : public QWidget {
public:
    EllipseLights(const EffectRenderer* renderer, const LightRowsWidget* layout)
        : m_renderer(renderer)
        , m_layout(layout) {}
    int frames = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        m_renderer->render(m_clock.isValid() ? m_clock.elapsed() / 1000.0 : 0.0, &m_frame);
        if (!m_clock.isValid())
            m_clock.start();
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x1c, 0x1c, 0x1e));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        for (const LightRowsWidget::Cell& cell : m_layout->cells()) {
            painter.setBrush(QColor(m_frame.at(cell.index).screen));
            painter.drawEllipse(QRectF(cell.rect));
        }
        ++frames;
    }

private:
    const EffectRenderer* m_renderer;
    const LightRowsWidget* m_layout;
    EffectRenderer::Frame m_frame;
    QElapsedTimer m_clock;
};

// Paint events of a widget, counted.
class PaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// CPU share of one core while the event loop runs for the given time.
double cpuShare(int seconds) {
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = cpuSeconds();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QApplication::exec();
    return (cpuSeconds() - cpuBefore) / (wall.nsecsElapsed() / 1e9);
}

void paintFigures() {
    const auto effect = effectOf(MSPEffect::CustomWash);
    EffectPreviewWidget preview;
    preview.resize(970, preview.sizeHint().height());
    preview.setLightLayout({ports, lightsPerPort, 0});
    preview.showScene(5, effect.get());
    preview.setFrameRate(30);
    preview.show();
    QApplication::processEvents();
    auto* lights = preview.findChild<LightRowsWidget*>(QStringLiteral("previewLights"));
    PaintCounter painted;
    lights->installEventFilter(&painted);

    std::printf("Preview painting at 30 frames a second, %d ports x %d lights (%d drawn), %d x %d pixels\n", ports,
                lightsPerPort, lights->cells().size(), lights->width(), lights->height());
    const double playing = cpuShare(paintSeconds);
    const int previewFrames = painted.count;

    preview.setPlaying(false);
    const double idle = cpuShare(paintSeconds);

    EffectRenderer renderer;
    renderer.setLayout({ports, lightsPerPort, 0});
    renderer.setEffect(effect.get());
    EllipseLights reference(&renderer, lights);
    reference.resize(lights->size());
    reference.show();
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, &reference, [&reference] { reference.update(); });
    tick.start(33);
    const double ellipses = cpuShare(paintSeconds);
    tick.stop();

    std::printf("  %-40s %6.2f %% of a core, %d frames in %d s\n", "preview playing", playing * 100, previewFrames,
                paintSeconds);
    std::printf("  %-40s %6.2f %% of a core\n", "preview paused (idle event loop)", idle * 100);
    std::printf("  %-40s %6.2f %% of a core, %d frames in %d s\n", "reference: antialiased ellipses", ellipses * 100,
                reference.frames, paintSeconds);
    std::printf("  preview / reference: %.3f; preview above idle: %.2f %% of a core (goal: under 2 %%)\n",
                playing / ellipses, (playing - idle) * 100);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    renderFigures();
    paintFigures();
    return 0;
}
