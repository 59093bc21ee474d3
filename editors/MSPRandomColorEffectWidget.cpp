#include "MSPRandomColorEffectWidget.h"

#include "MSPRandomColorEffect.h"
#include "MSPSpeedText.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace {

// The texts keep the context of the form they were first laid out in.
struct MSPRandomColorWidget {
    Q_DECLARE_TR_FUNCTIONS(MSPRandomColorWidget)
};

} // namespace

MSPRandomColorEffectWidget::MSPRandomColorEffectWidget(QWidget* parent, qint32 kind)
    : MSPEffectWidget(parent, kind) {
    setObjectName(QStringLiteral("MSPRandomColorWidget"));
    setWindowTitle(MSPRandomColorWidget::tr("Form"));

    auto* layout = new QVBoxLayout(this);
    auto* speedRow = new QHBoxLayout;
    auto* speedLabel = new QLabel(MSPRandomColorWidget::tr("Speed:"), this);
    speedLabel->setObjectName(QStringLiteral("speedLabel"));
    m_speedSlider = new QSlider(Qt::Horizontal, this);
    m_speedSlider->setObjectName(QStringLiteral("speedSlider"));
    m_speedSlider->setRange(1, 32);
    m_speedSlider->setPageStep(1);
    speedLabel->setBuddy(m_speedSlider);
    m_speedValueLabel = new QLabel(this);
    m_speedValueLabel->setObjectName(QStringLiteral("speedValueLabel"));
    m_speedValueLabel->setMinimumWidth(50);
    speedRow->addWidget(speedLabel);
    speedRow->addWidget(m_speedSlider, 1);
    speedRow->addWidget(m_speedValueLabel);
    layout->addLayout(speedRow);

    m_fadeCheckBox = new QCheckBox(MSPRandomColorWidget::tr("Fade:"), this);
    m_fadeCheckBox->setObjectName(QStringLiteral("fadeCheckBox"));
    m_fadeCheckBox->setLayoutDirection(Qt::RightToLeft);
    auto* fadeRow = new QHBoxLayout;
    fadeRow->addWidget(m_fadeCheckBox);
    fadeRow->addStretch(1);
    layout->addLayout(fadeRow);
    layout->addStretch(1);

    m_speedValueLabel->setText(MSPSpeedText::customText(m_speedSlider->value()));
    connect(m_speedSlider, &QSlider::valueChanged, this, &MSPRandomColorEffectWidget::handleSpeedSliderChanged);
    connect(m_fadeCheckBox, &QCheckBox::stateChanged, this, &MSPRandomColorEffectWidget::handleFadeChanged);
    reportDrags(m_speedSlider);
}

bool MSPRandomColorEffectWidget::setEffect(MSPEffect* effect) {
    auto* randomEffect = qobject_cast<MSPRandomColorEffect*>(effect);
    if (!randomEffect)
        return false;
    m_effect = randomEffect;
    setSpeed(randomEffect->speed());
    setFade(randomEffect->fade());
    return true;
}

void MSPRandomColorEffectWidget::setSpeed(int inSpeed) {
    const QSignalBlocker blocker(m_speedSlider);
    m_speedSlider->setValue(inSpeed);
    m_speedValueLabel->setText(MSPSpeedText::customText(inSpeed));
}

void MSPRandomColorEffectWidget::setFade(bool inFade) {
    const QSignalBlocker blocker(m_fadeCheckBox);
    m_fadeCheckBox->setChecked(inFade);
}

void MSPRandomColorEffectWidget::handleSpeedSliderChanged(int value) {
    m_speedValueLabel->setText(MSPSpeedText::customText(value));
    emit speedChanged(value);
    if (m_effect)
        m_effect->setSpeed(value);
}

void MSPRandomColorEffectWidget::handleFadeChanged(int state) {
    emit fadeChanged(state == Qt::Checked);
    if (m_effect)
        m_effect->setFade(state != Qt::Unchecked);
}
