#include "WhitePickerWidget.h"

#include "BlackBodyCurveWidget.h"
#include "CCTUtils.h"
#include "ColorTempSliderWidget.h"
#include "ColorTintSliderWidget.h"
#include "WhiteRange.h"

#include <QFrame>
#include <QShortcut>
#include <QVBoxLayout>

namespace ZelColorPickerLib {

namespace {

const QPointF RedPrimary(0.64, 0.33);
const QPointF GreenPrimary(0.30, 0.60);
const QPointF BluePrimary(0.15, 0.06);

} // namespace

WhitePickerWidget::WhitePickerWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("WhitePickerWidget"));
    m_verticalLayout = new QVBoxLayout(this);
    m_verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    m_verticalLayout->setContentsMargins(4, 4, 4, 4);
    m_verticalLayout->setSpacing(4);

    m_cctSliderWidget = new ColorTempSliderWidget(this);
    m_cctSliderWidget->setObjectName(QStringLiteral("cctSliderWidget"));
    m_tintSliderWidget = new ColorTintSliderWidget(this);
    m_tintSliderWidget->setObjectName(QStringLiteral("tintSliderWidget"));
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("frame"));
    m_frame->setFrameShape(QFrame::StyledPanel);
    m_frame->setFrameShadow(QFrame::Sunken);
    auto* frameLayout = new QVBoxLayout(m_frame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    m_blackBodyCurveWidget = new BlackBodyCurveWidget(m_frame);
    frameLayout->addWidget(m_blackBodyCurveWidget);

    // The tint bar stands beside the diagram, the temperature bar above both.
    auto* lowerLayout = new QHBoxLayout;
    lowerLayout->setSpacing(4);
    lowerLayout->addWidget(m_frame, 1);
    lowerLayout->addWidget(m_tintSliderWidget);
    m_verticalLayout->addWidget(m_cctSliderWidget);
    m_verticalLayout->addLayout(lowerLayout, 1);

    connect(m_cctSliderWidget, &ColorTempSliderWidget::colorTempChanged, this, &WhitePickerWidget::onColorTempChanged);
    connect(m_tintSliderWidget, &ColorTintSliderWidget::colorTintChanged, this, &WhitePickerWidget::onColorTintChanged);
    connect(m_blackBodyCurveWidget, &BlackBodyCurveWidget::colorChanged, this,
            &WhitePickerWidget::onBlackBodyCurveColorChanged);

    addShortcut(QStringLiteral("Ctrl+R"), &WhitePickerWidget::onIncreaseRed);
    addShortcut(QStringLiteral("Ctrl+Shift+R"), &WhitePickerWidget::onDecreaseRed);
    addShortcut(QStringLiteral("Ctrl+G"), &WhitePickerWidget::onIncreaseGreen);
    addShortcut(QStringLiteral("Ctrl+Shift+G"), &WhitePickerWidget::onDecreaseGreen);
    addShortcut(QStringLiteral("Ctrl+B"), &WhitePickerWidget::onIncreaseBlue);
    addShortcut(QStringLiteral("Ctrl+Shift+B"), &WhitePickerWidget::onDecreaseBlue);

    ZelColor start;
    const QPointF xy = CCTUtils::getxyFromCCT(ColorTempSliderWidget::DefaultColorTemp);
    start.setYxyF(m_intensity, xy.x(), xy.y(), 1.0, 0);
    setColor(start);
}

void WhitePickerWidget::setFixtureProfile(ColorUtils::HueformProfileID profile) {
    m_blackBodyCurveWidget->setFixtureProfile(profile);
}

ColorUtils::HueformProfileID WhitePickerWidget::fixtureProfile() const {
    return m_blackBodyCurveWidget->fixtureProfile();
}

void WhitePickerWidget::addShortcut(const QString& keys, void (WhitePickerWidget::*slot)()) {
    auto* shortcut = new QShortcut(QKeySequence(keys), this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, slot);
}

void WhitePickerWidget::setColor(const ZelColor& color) {
    const ZelColor white = color.isValid() ? color.convertTo(ZelColor::Yxy) : m_color;
    const QPointF xy = WhiteRange::instance().nearestAllowed(QPointF(white.getx(), white.gety()));
    m_intensity = qBound(0.0, white.getY(), 1.0);
    m_color.setYxyF(m_intensity, xy.x(), xy.y(), white.alphaF(), 0);
    showOnSliders(m_color);
    m_blackBodyCurveWidget->setColor(white);
    emit intensityChanged(m_intensity);
}

void WhitePickerWidget::showOnSliders(const ZelColor& color) {
    double cct = 0;
    double tint = 0;
    CCTUtils::getCCTAndTintFromxy(color.getx(), color.gety(), &cct, &tint);
    m_cctSliderWidget->setColorTemp(qRound(cct));
    m_tintSliderWidget->setColorTemp(qRound(cct));
    m_tintSliderWidget->setColorTint(qRound(tint));
    m_cctSliderWidget->setIntensity(m_intensity);
    m_tintSliderWidget->setIntensity(m_intensity);
}

void WhitePickerWidget::makeColorFromSliders() {
    const int cct = m_cctSliderWidget->colorTemp();
    // Low temperatures allow less tint: the slider gives way to the range.
    const int tint = qMin(m_tintSliderWidget->colorTint(), WhiteRange::instance().largestTint(cct));
    if (tint != m_tintSliderWidget->colorTint())
        m_tintSliderWidget->setColorTint(tint);
    m_blackBodyCurveWidget->setCCTAndTint(cct, tint);
    m_tintSliderWidget->setColorTemp(cct);
    const QPointF xy = CCTUtils::getxyFromCCTAndTint(cct, tint);
    const double alpha = m_color.isValid() ? m_color.alphaF() : 1.0;
    m_color.setYxyF(m_intensity, xy.x(), xy.y(), alpha, 0);
}

void WhitePickerWidget::onColorTempChanged(int) {
    makeColorFromSliders();
    emit colorChanged(m_color, QString());
}

void WhitePickerWidget::onColorTintChanged(int) {
    makeColorFromSliders();
    emit colorChanged(m_color, QString());
}

void WhitePickerWidget::onBlackBodyCurveColorChanged(ZelColor color) {
    const double alpha = m_color.isValid() ? m_color.alphaF() : 1.0;
    m_color.setYxyF(m_intensity, color.getx(), color.gety(), alpha, 0);
    showOnSliders(m_color);
    emit colorChanged(m_color, QString());
}

void WhitePickerWidget::onIntensityChanged(qreal intensity) {
    m_intensity = qBound(0.0, double(intensity), 1.0);
    m_cctSliderWidget->setIntensity(m_intensity);
    m_tintSliderWidget->setIntensity(m_intensity);
    m_blackBodyCurveWidget->setIntensity(m_intensity);
    // The point stays where it is: remaking it from the rounded slider values would move it.
    const double alpha = m_color.isValid() ? m_color.alphaF() : 1.0;
    m_color.setYxyF(m_intensity, m_color.getx(), m_color.gety(), alpha, 0);
    emit colorChanged(m_color, QString());
}

void WhitePickerWidget::onIncreaseRed() {
    m_blackBodyCurveWidget->moveTowardPrimary(RedPrimary, PrimaryStep);
}

void WhitePickerWidget::onDecreaseRed() {
    m_blackBodyCurveWidget->moveTowardPrimary(RedPrimary, -PrimaryStep);
}

void WhitePickerWidget::onIncreaseGreen() {
    m_blackBodyCurveWidget->moveTowardPrimary(GreenPrimary, PrimaryStep);
}

void WhitePickerWidget::onDecreaseGreen() {
    m_blackBodyCurveWidget->moveTowardPrimary(GreenPrimary, -PrimaryStep);
}

void WhitePickerWidget::onIncreaseBlue() {
    m_blackBodyCurveWidget->moveTowardPrimary(BluePrimary, PrimaryStep);
}

void WhitePickerWidget::onDecreaseBlue() {
    m_blackBodyCurveWidget->moveTowardPrimary(BluePrimary, -PrimaryStep);
}

} // namespace ZelColorPickerLib
