#include "EffectPreviewWidget.h"

#include "LightRowsWidget.h"
#include "MSPEffect.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

#include <cmath>

namespace {

constexpr double fallbackFrameRate = 60.0;

// "0:42", "12:05", "1:02:03".
QString clockText(double seconds) {
    const auto whole = static_cast<qint64>(std::floor(seconds));
    const qint64 hours = whole / 3600, minutes = whole / 60 % 60, rest = whole % 60;
    const QString tail = QStringLiteral("%1").arg(rest, 2, 10, QLatin1Char('0'));
    if (hours > 0)
        return QStringLiteral("%1:%2:").arg(hours).arg(minutes, 2, 10, QLatin1Char('0')) + tail;
    return QStringLiteral("%1:").arg(minutes) + tail;
}

} // namespace

EffectPreviewWidget::EffectPreviewWidget(QWidget* parent)
    : QWidget(parent)
    , m_timer(this) {
    setObjectName(QStringLiteral("effectPreview"));

    m_playButton = new QToolButton(this);
    m_playButton->setObjectName(QStringLiteral("playButton"));
    m_restartButton = new QToolButton(this);
    m_restartButton->setObjectName(QStringLiteral("restartButton"));
    m_restartButton->setToolTip(tr("Back to the start of the scene"));
    m_restartButton->setAccessibleName(tr("Restart"));
    m_timeLapseBox = new QComboBox(this);
    m_timeLapseBox->setObjectName(QStringLiteral("timeLapseBox"));
    m_timeLapseBox->setToolTip(tr("Time-lapse: how much faster than the wall the preview plays"));
    for (int factor : timeLapses())
        m_timeLapseBox->addItem(tr("%1x").arg(factor), factor);
    m_sceneLabel = new QLabel(this);
    m_sceneLabel->setObjectName(QStringLiteral("sceneLabel"));
    // As wide as the longest text it can show, so the lights do not move when the kind changes.
    int labelWidth = 0;
    for (int type = 0; type < MSPEffect::typeCount; ++type)
        labelWidth = std::max(labelWidth, m_sceneLabel->fontMetrics().horizontalAdvance(
                                              tr("Scene %1: %2").arg(8).arg(MSPEffect::nameForType(type))));
    m_sceneLabel->setMinimumWidth(labelWidth);
    m_timeLabel = new QLabel(this);
    m_timeLabel->setObjectName(QStringLiteral("timeLabel"));
    m_timeLabel->setToolTip(tr("Time since the scene started"));
    m_lights = new LightRowsWidget(this);
    m_lights->setFrame(&m_frame, 1, 1);

    auto* controls = new QGridLayout;
    controls->addWidget(m_playButton, 0, 0);
    controls->addWidget(m_restartButton, 0, 1);
    controls->addWidget(m_timeLapseBox, 0, 2);
    controls->addWidget(m_sceneLabel, 1, 0, 1, 3);
    controls->addWidget(m_timeLabel, 2, 0, 1, 3);
    controls->setRowStretch(3, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addLayout(controls);
    layout->addWidget(m_lights, 1);

    m_timer.setObjectName(QStringLiteral("previewTimer"));
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        renderNow();
        schedule();
    });
    connect(m_playButton, &QToolButton::clicked, this, [this] { setPlaying(!m_playing); });
    connect(m_restartButton, &QToolButton::clicked, this, &EffectPreviewWidget::restart);
    connect(m_timeLapseBox, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { setTimeLapse(m_timeLapseBox->itemData(index).toInt()); });

    m_wall.start();
    updatePlayButton();
    renderNow();
}

const QList<int>& EffectPreviewWidget::timeLapses() {
    static const QList<int> factors{1, 10, 60};
    return factors;
}

void EffectPreviewWidget::setLightLayout(const EffectRenderer::Layout& layout) {
    if (layout == m_renderer.layout())
        return;
    m_renderer.setLayout(layout);
    renderNow();
    schedule();
}

void EffectPreviewWidget::showScene(int sceneNumber, const MSPEffect* effect) {
    const bool newScene = sceneNumber != m_sceneNumber;
    m_sceneNumber = sceneNumber;
    m_renderer.setSceneNumber(sceneNumber);
    m_renderer.setEffect(effect);
    m_sceneLabel->setText(effect ? tr("Scene %1: %2").arg(sceneNumber).arg(MSPEffect::nameForType(effect->type()))
                                 : tr("Scene %1: no effect").arg(sceneNumber));
    if (newScene) {
        restart();
        return;
    }
    renderNow();
    schedule();
}

double EffectPreviewWidget::sceneSeconds() const {
    if (!m_playing)
        return m_startSeconds;
    return m_startSeconds + m_wall.nsecsElapsed() / 1e9 * m_timeLapse;
}

void EffectPreviewWidget::setFrameRate(double framesPerSecond) {
    m_frameRate = framesPerSecond;
    schedule();
}

int EffectPreviewWidget::frameIntervalMs() const {
    double rate = m_frameRate;
    if (rate <= 0)
        rate = screen() && screen()->refreshRate() > 1 ? screen()->refreshRate() : fallbackFrameRate;
    return std::max(1, static_cast<int>(std::lround(1000.0 / rate)));
}

void EffectPreviewWidget::setPlaying(bool playing) {
    if (playing == m_playing)
        return;
    m_startSeconds = sceneSeconds();
    m_wall.restart();
    m_playing = playing;
    updatePlayButton();
    renderNow();
    schedule();
}

void EffectPreviewWidget::setTimeLapse(int factor) {
    if (!timeLapses().contains(factor))
        factor = 1;
    m_timeLapseBox->setCurrentIndex(timeLapses().indexOf(factor));
    if (factor == m_timeLapse)
        return;
    m_startSeconds = sceneSeconds();
    m_wall.restart();
    m_timeLapse = factor;
    schedule();
    emit timeLapseChanged(factor);
}

void EffectPreviewWidget::restart() {
    setSceneSeconds(0.0);
}

void EffectPreviewWidget::setSceneSeconds(double seconds) {
    m_startSeconds = std::max(0.0, seconds);
    m_wall.restart();
    renderNow();
    schedule();
}

void EffectPreviewWidget::renderNow() {
    const double seconds = sceneSeconds();
    m_renderer.render(seconds, &m_frame);
    m_lights->setFrame(&m_frame, m_renderer.layout().ports, m_renderer.layout().lightsPerPort);
    m_timeLabel->setText(clockText(seconds));
}

void EffectPreviewWidget::schedule() {
    // A minimised window keeps its widgets "visible"; it shows nothing all the same.
    if (!m_playing || !isVisible() || window()->isMinimized()) {
        m_timer.stop();
        return;
    }
    const double now = sceneSeconds();
    // Still lights wake the preview only for the clock's next second or the next change; moving
    // lights are drawn at the display's pace, on a timer that keeps its beat through edits.
    const double next = std::min(m_renderer.nextChange(now), std::floor(now) + 1.0);
    const int frameMs = frameIntervalMs();
    if (next <= now) {
        if (!m_timer.isActive() || m_timer.isSingleShot() || m_timer.interval() != frameMs) {
            m_timer.setSingleShot(false);
            m_timer.start(frameMs);
        }
        return;
    }
    m_timer.setSingleShot(true);
    m_timer.start(std::max(frameMs, static_cast<int>(std::ceil((next - now) * 1000.0 / m_timeLapse))));
}

void EffectPreviewWidget::updatePlayButton() {
    if (m_iconsShown)
        m_playButton->setIcon(style()->standardIcon(m_playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_playButton->setToolTip(m_playing ? tr("Pause") : tr("Play"));
    m_playButton->setAccessibleName(m_playing ? tr("Pause") : tr("Play"));
}

void EffectPreviewWidget::showEvent(QShowEvent* event) {
    // The style's media icons come from the icon theme, whose first search costs about as much as
    // the rest of the window: the preview starts hidden, so they are looked up when it first shows.
    // The buttons are as large without them.
    if (!m_iconsShown) {
        m_iconsShown = true;
        m_restartButton->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
        updatePlayButton();
    }
    QWidget::showEvent(event);
    renderNow();
    schedule();
}

void EffectPreviewWidget::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_timer.stop();
}
