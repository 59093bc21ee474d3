#include "MSPWhiteEffectWidget.h"

#include "MSPWhiteEffect.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The texts keep the context of the form they were first laid out in.
struct MSPWhiteWidget {
    Q_DECLARE_TR_FUNCTIONS(MSPWhiteWidget)
};

QLabel* scaleLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

MSPWhiteEffectWidget::MSPWhiteEffectWidget(QWidget* parent, qint32 kind)
    : MSPEffectWidget(parent, kind) {
    setObjectName(QStringLiteral("MSPWhiteWidget"));
    setWindowTitle(MSPWhiteWidget::tr("Form"));

    auto* layout = new QVBoxLayout(this);
    m_brightnessEdit = new QSpinBox(this);
    m_brightnessEdit->setObjectName(QStringLiteral("brightnessEdit"));
    m_brightnessEdit->setRange(0, 100);
    m_brightnessEdit->setSuffix(QStringLiteral("%"));
    const int editWidth = qMax(60, m_brightnessEdit->sizeHint().width());
    m_brightnessEdit->setFixedWidth(editWidth);

    // The scale sits over the slider only, so it starts where the slider does.
    auto* scaleRow = new QHBoxLayout;
    auto* temperatureLabel = new QLabel(MSPWhiteWidget::tr("Temperature:"), this);
    temperatureLabel->setObjectName(QStringLiteral("temperatureLabel"));
    auto* brigthnessLabel = new QLabel(MSPWhiteWidget::tr("Intensity:"), this);
    brigthnessLabel->setObjectName(QStringLiteral("brigthnessLabel"));
    const int labelWidth = qMax(temperatureLabel->sizeHint().width(), brigthnessLabel->sizeHint().width());
    temperatureLabel->setMinimumWidth(labelWidth);
    brigthnessLabel->setMinimumWidth(labelWidth);
    scaleRow->addSpacing(labelWidth + layout->spacing());

    auto* leftContainer = new QWidget(this);
    leftContainer->setObjectName(QStringLiteral("leftScaleContainer"));
    leftContainer->setMinimumSize(50, 30);
    auto* leftLayout = new QHBoxLayout(leftContainer);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    m_rgbCoolLabel = scaleLabel(MSPWhiteWidget::tr("Cool"), "RGBCoolLabel", leftContainer);
    m_duoWarmLabel = scaleLabel(MSPWhiteWidget::tr("Warm"), "DuoWarmLabel", leftContainer);
    leftLayout->addWidget(m_rgbCoolLabel);
    leftLayout->addWidget(m_duoWarmLabel);
    scaleRow->addWidget(leftContainer);
    scaleRow->addStretch(1);
    m_duoNeutralLabel = scaleLabel(MSPWhiteWidget::tr("Neutral"), "DuoNeutralLabel", this);
    scaleRow->addWidget(m_duoNeutralLabel);
    scaleRow->addStretch(1);
    m_duoCoolLabel = scaleLabel(MSPWhiteWidget::tr("Cool"), "DuoCoolLabel", this);
    scaleRow->addWidget(m_duoCoolLabel);
    scaleRow->addStretch(0);
    m_rgbWarmLabel = scaleLabel(MSPWhiteWidget::tr("Warm"), "RGBWarmLabel", this);
    scaleRow->addWidget(m_rgbWarmLabel);
    scaleRow->addSpacing(editWidth);
    layout->addLayout(scaleRow);

    auto* temperatureRow = new QHBoxLayout;
    m_temperatureSlider = new QSlider(Qt::Horizontal, this);
    m_temperatureSlider->setObjectName(QStringLiteral("temperatureSlider"));
    m_temperatureSlider->setRange(0, 255);
    m_temperatureSlider->setMinimumWidth(200);
    temperatureLabel->setBuddy(m_temperatureSlider);
    temperatureRow->addWidget(temperatureLabel);
    temperatureRow->addWidget(m_temperatureSlider, 1);
    temperatureRow->addSpacing(editWidth + layout->spacing());
    layout->addLayout(temperatureRow);

    auto* brightnessRow = new QHBoxLayout;
    m_brightnessSlider = new QSlider(Qt::Horizontal, this);
    m_brightnessSlider->setObjectName(QStringLiteral("brightnessSlider"));
    m_brightnessSlider->setRange(0, 100);
    brigthnessLabel->setBuddy(m_brightnessSlider);
    m_brightnessSlider->setAccessibleName(MSPWhiteWidget::tr("Intensity"));
    m_brightnessEdit->setAccessibleName(MSPWhiteWidget::tr("Intensity"));
    brightnessRow->addWidget(brigthnessLabel);
    brightnessRow->addWidget(m_brightnessSlider, 1);
    brightnessRow->addWidget(m_brightnessEdit);
    layout->addLayout(brightnessRow);
    layout->addStretch(1);

    m_duoWarmLabel->hide();
    m_duoNeutralLabel->hide();
    m_duoCoolLabel->hide();
    m_temperatureSlider->setValue(0);
    m_brightnessSlider->setValue(100);
    m_brightnessEdit->setValue(100);

    connect(m_temperatureSlider, &QSlider::valueChanged, this, &MSPWhiteEffectWidget::handleTemperatureSliderChanged);
    connect(m_brightnessSlider, &QSlider::valueChanged, this, &MSPWhiteEffectWidget::handleBrightnessSliderChanged);
    connect(m_brightnessEdit, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &MSPWhiteEffectWidget::handleBrightnessEditChanged);
    reportDrags(m_temperatureSlider);
    reportDrags(m_brightnessSlider);
}

void MSPWhiteEffectWidget::showDuoScale() {
    m_rgbCoolLabel->hide();
    m_rgbWarmLabel->hide();
    m_duoWarmLabel->show();
    m_duoNeutralLabel->show();
    m_duoCoolLabel->show();
}

bool MSPWhiteEffectWidget::setEffect(MSPEffect* effect) {
    auto* whiteEffect = qobject_cast<MSPWhiteEffect*>(effect);
    if (!whiteEffect)
        return false;
    m_effect = whiteEffect;
    if (m_temperatureSlider->value() != whiteEffect->temperature()) {
        const QSignalBlocker blocker(m_temperatureSlider);
        m_temperatureSlider->setValue(whiteEffect->temperature());
    }
    if (m_brightnessSlider->value() != whiteEffect->brightness()) {
        const QSignalBlocker sliderBlocker(m_brightnessSlider);
        const QSignalBlocker editBlocker(m_brightnessEdit);
        m_brightnessSlider->setValue(whiteEffect->brightness());
        m_brightnessEdit->setValue(whiteEffect->brightness());
    }
    return true;
}

void MSPWhiteEffectWidget::handleTemperatureSliderChanged(int inTemperature) {
    if (m_temperatureSlider->value() != inTemperature) {
        const QSignalBlocker blocker(m_temperatureSlider);
        m_temperatureSlider->setValue(inTemperature);
    }
    emit temperatureChanged(inTemperature);
    if (m_effect)
        m_effect->setTemperature(inTemperature);
}

void MSPWhiteEffectWidget::handleBrightnessSliderChanged(int inBrightness) {
    {
        const QSignalBlocker blocker(m_brightnessEdit);
        m_brightnessEdit->setValue(inBrightness);
    }
    emit brightnessChanged(inBrightness);
    if (m_effect)
        m_effect->setBrightness(inBrightness);
}

void MSPWhiteEffectWidget::handleBrightnessEditChanged() {
    const int brightness = m_brightnessEdit->value();
    {
        const QSignalBlocker blocker(m_brightnessSlider);
        m_brightnessSlider->setValue(brightness);
    }
    emit brightnessChanged(brightness);
    if (m_effect)
        m_effect->setBrightness(brightness);
}
