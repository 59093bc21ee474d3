#include "RgbPickerWidget.h"

#include "ColorTextField.h"
#include "HsbSlidersWidget.h"
#include "HsbSpectrumWidget.h"
#include "HsbSpectrumZoomWidget.h"
#include "HsbTintsAndShadesWidget.h"
#include "PickerLog.h"
#include "RgbSlidersWidget.h"
#include "ZoomControlWidget.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace ZelColorPickerLib {

namespace {

const QString zoomLevelKey = QStringLiteral("colorPickerZoomLevel");
const QString splitterKey = QStringLiteral("colorPickerTopSplitterState");

ZelColor rgbForm(const ZelColor& color) {
    ZelColor rgb = color.convertTo(ZelColor::Rgb);
    rgb.setAlpha8(255);
    return rgb;
}

} // namespace

RgbPickerWidget::RgbPickerWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("rgbPickerWidget"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    m_topSplitter = new QSplitter(Qt::Horizontal, this);
    m_topSplitter->setObjectName(QStringLiteral("topSplitter"));
    m_topSplitter->setChildrenCollapsible(false);
    m_hsbSpectrumWidget = new HsbSpectrumWidget(m_topSplitter);
    m_hsbSpectrumWidget->setToolTip(tr("Hue and Saturation"));
    m_hsbSpectrumWidget->setAccessibleName(tr("Hue and Saturation"));
    m_hsbSpectrumWidget->setAccessibleDescription(
        tr("Hue from left to right, saturation from bottom to top; the arrow keys move the marker."));
    m_hsbTintsAndShadesWidget = new HsbTintsAndShadesWidget(m_topSplitter);
    m_hsbTintsAndShadesWidget->setToolTip(tr("Tints and Shades"));
    m_hsbTintsAndShadesWidget->setAccessibleName(tr("Tints and Shades"));
    m_hsbTintsAndShadesWidget->setAccessibleDescription(
        tr("Brightness from left to right, saturation from bottom to top; the arrow keys move the marker."));
    m_topSplitter->addWidget(m_hsbSpectrumWidget);
    m_topSplitter->addWidget(m_hsbTintsAndShadesWidget);
    m_topSplitter->setStretchFactor(0, 3);
    m_topSplitter->setStretchFactor(1, 2);
    layout->addWidget(m_topSplitter, 1);

    m_hsbSpectrumZoomWidget = new HsbSpectrumZoomWidget(this);
    m_hsbSpectrumZoomWidget->setToolTip(tr("Neighbouring Colors"));
    m_hsbSpectrumZoomWidget->setAccessibleName(tr("Neighbouring Colors"));
    m_hsbSpectrumZoomWidget->setAccessibleDescription(
        tr("Colors around the chosen one; the arrow keys move to a neighbour."));
    m_hsbSpectrumZoomWidget->setFixedHeight(m_hsbSpectrumZoomWidget->sizeHint().height());
    m_hsbSpectrumZoomWidget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(m_hsbSpectrumZoomWidget);

    m_zoomControlWidget = new ZoomControlWidget(this);
    m_zoomControlWidget->setRange(HsbSpectrumZoomWidget::lowestLevel(), HsbSpectrumZoomWidget::highestLevel());
    m_zoomControlWidget->setMaximumWidth(180);
    // The colour as text shares the zoom control's row, which has room to its left.
    auto* entryRow = new QHBoxLayout;
    entryRow->setSpacing(4);
    auto* colorTextLabel = new QLabel(tr("Color:"), this);
    colorTextLabel->setObjectName(QStringLiteral("colorTextLabel"));
    m_colorTextField = new ColorTextField(this);
    colorTextLabel->setBuddy(m_colorTextField);
    entryRow->addWidget(colorTextLabel);
    entryRow->addWidget(m_colorTextField, 1);
    entryRow->addStretch(0);
    entryRow->addWidget(m_zoomControlWidget, 1, Qt::AlignRight);
    layout->addLayout(entryRow);

    m_rgbControlsFrame = new QFrame(this);
    m_rgbControlsFrame->setObjectName(QStringLiteral("rgbControlsFrame"));
    auto* controls = new QVBoxLayout(m_rgbControlsFrame);
    controls->setContentsMargins(0, 0, 0, 0);
    controls->setSpacing(6);
    m_rgbSlidersWidget = new RgbSlidersWidget(m_rgbControlsFrame);
    m_hsbSlidersWidget = new HsbSlidersWidget(m_rgbControlsFrame);
    controls->addWidget(m_rgbSlidersWidget);
    controls->addWidget(m_hsbSlidersWidget);
    layout->addWidget(m_rgbControlsFrame);

    QSettings settings;
    const int level = settings.value(zoomLevelKey, m_hsbSpectrumZoomWidget->zoomLevel()).toInt();
    m_hsbSpectrumZoomWidget->setZoomLevel(level);
    m_zoomControlWidget->setZoomLevel(m_hsbSpectrumZoomWidget->zoomLevel());
    const QByteArray splitterState = settings.value(splitterKey).toByteArray();
    if (!splitterState.isEmpty() && !m_topSplitter->restoreState(splitterState))
        qCDebug(lcPicker) << "Ignoring an unreadable picker splitter state";

    connect(m_hsbSpectrumZoomWidget, &HsbSpectrumZoomWidget::zoomAreaChanged, m_hsbSpectrumWidget,
            &HsbSpectrumWidget::setZoomArea);
    connect(m_zoomControlWidget, &ZoomControlWidget::zoomLevelChanged, this,
            &RgbPickerWidget::onSpectrumZoomLevelChanged);
    connect(m_hsbSpectrumWidget, &HsbSpectrumWidget::colorChanged, this, &RgbPickerWidget::onSpectrumColorChanged);
    connect(m_hsbTintsAndShadesWidget, &HsbTintsAndShadesWidget::colorChanged, this,
            &RgbPickerWidget::onTintsAndShadesColorChanged);
    connect(m_hsbSpectrumZoomWidget, &HsbSpectrumZoomWidget::colorChanged, this,
            &RgbPickerWidget::onSpectrumZoomColorChanged);
    connect(m_rgbSlidersWidget, &RgbSlidersWidget::colorChanged, this, &RgbPickerWidget::onRgbSlidersChanged);
    connect(m_hsbSlidersWidget, &HsbSlidersWidget::colorChanged, this, &RgbPickerWidget::onHsbSlidersChanged);
    connect(m_colorTextField, &ColorTextField::colorEntered, this,
            [this](const ZelColor& color) { picked(color, TextField); });

    for (const char* keys : {"CTRL++", "CTRL+="}) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, &RgbPickerWidget::zoomIn);
    }
    auto* zoomOutShortcut = new QShortcut(QKeySequence(QStringLiteral("CTRL+-")), this);
    zoomOutShortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(zoomOutShortcut, &QShortcut::activated, this, &RgbPickerWidget::zoomOut);

    distribute(m_color, None);
}

void RgbPickerWidget::setColor(const ZelColor& color) {
    m_color = rgbForm(color);
    distribute(m_color, None);
}

int RgbPickerWidget::zoomLevel() const {
    return m_hsbSpectrumZoomWidget->zoomLevel();
}

void RgbPickerWidget::distribute(const ZelColor& color, Source source) {
    // The selectors only emit on user input, so handing them a colour never comes back here.
    if (source != Spectrum)
        m_hsbSpectrumWidget->setColor(color);
    if (source != TintsAndShades)
        m_hsbTintsAndShadesWidget->setColor(color);
    if (source != Zoom)
        m_hsbSpectrumZoomWidget->setColor(color);
    if (source != RgbSliders)
        m_rgbSlidersWidget->setColor(color);
    if (source != HsbSliders)
        m_hsbSlidersWidget->setColor(color);
    if (source != TextField)
        m_colorTextField->setColor(color);
}

void RgbPickerWidget::picked(const ZelColor& color, Source source) {
    distribute(color, source);
    m_color = rgbForm(color);
    emit colorChanged(m_color, QString());
}

void RgbPickerWidget::onSpectrumColorChanged(ZelColor color) {
    picked(color, Spectrum);
}

void RgbPickerWidget::onTintsAndShadesColorChanged(ZelColor color) {
    picked(color, TintsAndShades);
}

void RgbPickerWidget::onSpectrumZoomColorChanged(ZelColor color) {
    picked(color, Zoom);
}

void RgbPickerWidget::onSpectrumZoomLevelChanged(int level) {
    m_hsbSpectrumZoomWidget->setZoomLevel(level);
    m_zoomControlWidget->setZoomLevel(m_hsbSpectrumZoomWidget->zoomLevel());
}

void RgbPickerWidget::onRgbSlidersChanged(ZelColor color) {
    picked(color, RgbSliders);
}

void RgbPickerWidget::onHsbSlidersChanged(ZelColor color) {
    picked(color, HsbSliders);
}

void RgbPickerWidget::zoomOut() {
    m_zoomControlWidget->zoomOut();
}

void RgbPickerWidget::zoomIn() {
    m_zoomControlWidget->zoomIn();
}

void RgbPickerWidget::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    QSettings settings;
    settings.setValue(zoomLevelKey, zoomLevel());
    settings.setValue(splitterKey, m_topSplitter->saveState());
}

void RgbPickerWidget::wheelEvent(QWheelEvent* event) {
    m_wheelRemainder += event->angleDelta().y();
    const int levels = m_wheelRemainder / 8 / 15;
    m_wheelRemainder -= levels * 8 * 15;
    for (int i = 0; i < levels; ++i)
        zoomIn();
    for (int i = 0; i > levels; --i)
        zoomOut();
    event->accept();
}

} // namespace ZelColorPickerLib
