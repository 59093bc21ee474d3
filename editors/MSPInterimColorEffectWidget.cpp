#include "MSPInterimColorEffectWidget.h"

#include "MSPColorWashEffect.h"
#include "MSPCustomWashEffect.h"
#include "MSPFixedColorEffect.h"
#include "MSPSpeedText.h"
#include "ZelColor.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString tr_(const char* text) {
    return QCoreApplication::translate("MSPColorWashWidget", text);
}

} // namespace

MSPInterimColorEffectWidget::MSPInterimColorEffectWidget(QWidget* parent, qint32 kind)
    : MSPEffectWidget(parent, kind) {
    setObjectName(QStringLiteral("MSPInterimColorWidget"));
    setWindowTitle(tr_("Form"));
    auto* layout = new QVBoxLayout(this);

    m_colorsBox = new QGroupBox(
        kind == MSPEffect::FixedColor || kind == MSPEffect::VariableColor ? tr_("Color") : tr_("Colors"), this);
    m_colorsBox->setObjectName(QStringLiteral("colorsBox"));
    m_swatchLayout = new QHBoxLayout(m_colorsBox);
    m_swatchLayout->addStretch(1);
    layout->addWidget(m_colorsBox);

    auto* motion = new QGridLayout;
    auto* speedLabel = new QLabel(tr_("Speed:"), this);
    m_speedSlider = new QSlider(Qt::Horizontal, this);
    m_speedSlider->setObjectName(QStringLiteral("speedSlider"));
    m_speedSlider->setRange(1, 32);
    m_speedSlider->setPageStep(1);
    m_speedValueLabel = new QLabel(speedText(1), this);
    m_speedValueLabel->setObjectName(QStringLiteral("speedValueLabel"));
    m_speedValueLabel->setMinimumWidth(50);
    motion->addWidget(speedLabel, 0, 0);
    motion->addWidget(m_speedSlider, 0, 1);
    motion->addWidget(m_speedValueLabel, 0, 2);

    auto* widthLabel = new QLabel(tr_("Width:"), this);
    widthLabel->setObjectName(QStringLiteral("widthLabel"));
    m_widthSlider = new QSlider(Qt::Horizontal, this);
    m_widthSlider->setObjectName(QStringLiteral("widthSlider"));
    m_widthEdit = new QSpinBox(this);
    m_widthEdit->setObjectName(QStringLiteral("widthEdit"));
    const int minimumWidth = kind == MSPEffect::RainbowWash ? 4 : 1;
    const int maximumWidth = kind == MSPEffect::RainbowWash ? 35 : 32;
    m_widthSlider->setRange(minimumWidth, maximumWidth);
    m_widthEdit->setRange(minimumWidth, maximumWidth);
    motion->addWidget(widthLabel, 1, 0);
    motion->addWidget(m_widthSlider, 1, 1);
    motion->addWidget(m_widthEdit, 1, 2);

    auto* directionLabel = new QLabel(tr_("Direction:"), this);
    m_upButton = new QRadioButton(tr_("Left To Right"), this);
    m_upButton->setObjectName(QStringLiteral("upButton"));
    m_downButton = new QRadioButton(tr_("Right To Left"), this);
    m_downButton->setObjectName(QStringLiteral("downButton"));
    m_upButton->setChecked(true);
    auto* directionRow = new QHBoxLayout;
    directionRow->addWidget(m_upButton);
    directionRow->addWidget(m_downButton);
    directionRow->addStretch(1);
    motion->addWidget(directionLabel, 2, 0);
    motion->addLayout(directionRow, 2, 1, 1, 2);
    layout->addLayout(motion);

    layout->addStretch(1);

    speedLabel->setVisible(hasMotion());
    m_speedSlider->setVisible(hasMotion());
    m_speedValueLabel->setVisible(hasMotion());
    directionLabel->setVisible(hasMotion());
    m_upButton->setVisible(hasMotion());
    m_downButton->setVisible(hasMotion());
    widthLabel->setVisible(hasWidth());
    m_widthSlider->setVisible(hasWidth());
    m_widthEdit->setVisible(hasWidth());
    // The rainbow plays its own colours.
    m_colorsBox->setVisible(kind != MSPEffect::RainbowWash);

    connect(m_speedSlider, &QSlider::valueChanged, this, &MSPInterimColorEffectWidget::handleSpeedSliderChanged);
    connect(m_upButton, &QRadioButton::clicked, this, &MSPInterimColorEffectWidget::handleUpClicked);
    connect(m_downButton, &QRadioButton::clicked, this, &MSPInterimColorEffectWidget::handleDownClicked);
    connect(m_widthSlider, &QSlider::valueChanged, this, &MSPInterimColorEffectWidget::handleWidthSliderChanged);
    connect(m_widthEdit, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &MSPInterimColorEffectWidget::handleWidthEditChanged);
    reportDrags(m_speedSlider);
    reportDrags(m_widthSlider);
}

bool MSPInterimColorEffectWidget::hasMotion() const {
    return kind() == MSPEffect::ColorWash || kind() == MSPEffect::RainbowWash || kind() == MSPEffect::CustomWash;
}

bool MSPInterimColorEffectWidget::hasWidth() const {
    return kind() == MSPEffect::RainbowWash || kind() == MSPEffect::CustomWash;
}

QString MSPInterimColorEffectWidget::speedText(int speed) const {
    return kind() == MSPEffect::CustomWash ? MSPSpeedText::customText(speed) : MSPSpeedText::washText(speed);
}

bool MSPInterimColorEffectWidget::setEffect(MSPEffect* effect) {
    if (!effect || effect->type() != kind())
        return false;
    if (hasMotion()) {
        auto* wash = qobject_cast<MSPColorWashEffect*>(effect);
        if (!wash)
            return false;
        m_washEffect = wash;
        m_customEffect = qobject_cast<MSPCustomWashEffect*>(effect);
        m_colorEffect = nullptr;
        setSpeed(wash->speed());
        setDirection(wash->direction());
        if (m_customEffect) {
            const QSignalBlocker sliderBlocker(m_widthSlider);
            const QSignalBlocker editBlocker(m_widthEdit);
            m_widthSlider->setRange(m_customEffect->minimumWidth(), m_customEffect->maximumWidth());
            m_widthEdit->setRange(m_customEffect->minimumWidth(), m_customEffect->maximumWidth());
            m_widthSlider->setValue(m_customEffect->width());
            m_widthEdit->setValue(m_customEffect->width());
            showColors(m_customEffect->colorList());
        } else {
            showColors({});
        }
        return true;
    }
    auto* colorEffect = qobject_cast<MSPFixedColorEffect*>(effect);
    if (!colorEffect)
        return false;
    m_colorEffect = colorEffect;
    m_washEffect = nullptr;
    m_customEffect = nullptr;
    showColors({colorEffect->color()});
    return true;
}

void MSPInterimColorEffectWidget::showColors(const QStringList& colors) {
    qDeleteAll(m_swatches);
    m_swatches.clear();
    for (const QString& text : colors) {
        const QColor color = ZelColor(text).toQColor();
        auto* swatch = new QLabel(m_colorsBox);
        swatch->setObjectName(QStringLiteral("colorSwatch"));
        swatch->setFixedSize(72, 56);
        swatch->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        const QColor textColor = color.lightness() > 140 ? Qt::black : Qt::white;
        swatch->setStyleSheet(QStringLiteral("QLabel { background-color: %1; color: %2; border: 1px solid gray; }")
                                  .arg(color.name(), textColor.name()));
        swatch->setText(color.name());
        swatch->setToolTip(text);
        m_swatchLayout->insertWidget(m_swatchLayout->count() - 1, swatch);
        swatch->show();
        m_swatches.append(swatch);
    }
}

void MSPInterimColorEffectWidget::setSpeed(int inSpeed) {
    const int speed = qBound(1, inSpeed, 32);
    if (speed != inSpeed) {
        emit speedChanged(speed);
        if (m_washEffect)
            m_washEffect->setSpeed(speed);
    }
    const QSignalBlocker blocker(m_speedSlider);
    m_speedSlider->setValue(speed);
    m_speedValueLabel->setText(speedText(speed));
}

void MSPInterimColorEffectWidget::setDirection(int inDirection) {
    const QSignalBlocker upBlocker(m_upButton);
    const QSignalBlocker downBlocker(m_downButton);
    (inDirection != 0 ? m_downButton : m_upButton)->setChecked(true);
    emit directionChanged(inDirection);
}

void MSPInterimColorEffectWidget::handleSpeedSliderChanged(int value) {
    m_speedValueLabel->setText(speedText(value));
    emit speedChanged(value);
    if (m_washEffect)
        m_washEffect->setSpeed(value);
}

void MSPInterimColorEffectWidget::handleUpClicked() {
    emit directionChanged(0);
    if (m_washEffect)
        m_washEffect->setDirection(0);
}

void MSPInterimColorEffectWidget::handleDownClicked() {
    emit directionChanged(1);
    if (m_washEffect)
        m_washEffect->setDirection(1);
}

void MSPInterimColorEffectWidget::handleWidthSliderChanged(int value) {
    {
        const QSignalBlocker blocker(m_widthEdit);
        m_widthEdit->setValue(value);
    }
    emit widthChanged(value);
    if (m_customEffect)
        m_customEffect->setWidth(value);
}

void MSPInterimColorEffectWidget::handleWidthEditChanged() {
    const int value = m_widthEdit->value();
    {
        const QSignalBlocker blocker(m_widthSlider);
        m_widthSlider->setValue(value);
    }
    emit widthChanged(value);
    if (m_customEffect)
        m_customEffect->setWidth(value);
}
