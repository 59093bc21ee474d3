#include "MSPColorWashEffectWidget.h"

#include "ColorListPicker2.h"
#include "ColorTreeAndFilterWidget.h"
#include "MSPColorWashEffect.h"
#include "MSPCustomWashEffect.h"
#include "MSPSpeedText.h"
#include "ZelColorLibraryTreeView.h"
#include "ZelColorPicker.h"
#include "ZelColorPickerButtonsWidget.h"
#include "ZelStyle.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

using namespace ZelColorPickerLib;

namespace {

// The texts keep the context of the form they were first laid out in.
struct MSPCustomWashWidget {
    Q_DECLARE_TR_FUNCTIONS(MSPCustomWashWidget)
};

} // namespace

MSPColorWashEffectWidget::MSPColorWashEffectWidget(QWidget* parent, qint32 kind)
    : MSPEffectWidget(parent, kind) {
    setObjectName(QStringLiteral("MSPCustomWashWidget"));
    setWindowTitle(MSPCustomWashWidget::tr("Form"));

    auto* layout = new QVBoxLayout(this);
    m_colorList = new ColorListPicker2(this);
    m_colorList->setObjectName(QStringLiteral("colorList"));
    layout->addWidget(m_colorList);

    auto* splitter = m_splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    auto* style = new ZelWidgetsLib::ZelStyle;
    style->setParent(splitter); // a widget does not own the style it is given
    splitter->setStyle(style);
    auto* pickerPanel = new QWidget(splitter);
    pickerPanel->setObjectName(QStringLiteral("pickerPanel"));
    auto* pickerLayout = new QVBoxLayout(pickerPanel);
    pickerLayout->setContentsMargins(0, 0, 0, 0);
    m_pickerScroll = new QScrollArea(pickerPanel);
    m_pickerScroll->setObjectName(QStringLiteral("pickerScroll"));
    m_pickerScroll->setFrameShape(QFrame::NoFrame);
    m_pickerScroll->setWidgetResizable(true);
    m_pickerScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab reaches the picker's controls and scrolls them into view; the area itself is no stop.
    m_pickerScroll->setFocusPolicy(Qt::NoFocus);
    m_colorPicker = new ZelColorPicker(m_pickerScroll);
    m_colorPicker->setObjectName(QStringLiteral("colorPicker"));
    m_colorPicker->setMinimumWidth(360);
    m_pickerScroll->setWidget(m_colorPicker);
    pickerLayout->addWidget(m_pickerScroll, 1);
    m_pickerPanel = pickerPanel;

    // The speed, width and direction sit under the library, beside the picker rather than under it,
    // so the picker has the column's whole height.
    auto* sidePanel = new QWidget(splitter);
    sidePanel->setObjectName(QStringLiteral("sidePanel"));
    auto* sideLayout = new QVBoxLayout(sidePanel);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    m_treePanel = new QWidget(sidePanel);
    m_treePanel->setObjectName(QStringLiteral("treePanel"));
    auto* treeLayout = new QVBoxLayout(m_treePanel);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    m_colorPickerButtons = new ZelColorPickerButtonsWidget(m_treePanel);
    m_colorPickerButtons->setObjectName(QStringLiteral("colorPickerButtons"));
    m_colorTreeAndFilter = new ColorTreeAndFilterWidget(m_treePanel);
    m_colorTreeAndFilter->setObjectName(QStringLiteral("colorTreeAndFilter"));
    treeLayout->addWidget(m_colorPickerButtons);
    treeLayout->addWidget(m_colorTreeAndFilter, 1);
    sideLayout->addWidget(m_treePanel, 1);

    auto* rows = new QGridLayout;
    auto* speedLabel = new QLabel(MSPCustomWashWidget::tr("Speed:"), sidePanel);
    speedLabel->setObjectName(QStringLiteral("speedLabel"));
    m_speedSlider = new QSlider(Qt::Horizontal, sidePanel);
    m_speedSlider->setObjectName(QStringLiteral("speedSlider"));
    m_speedSlider->setRange(1, 32);
    m_speedSlider->setPageStep(1);
    m_speedValueLabel = new QLabel(sidePanel);
    m_speedValueLabel->setObjectName(QStringLiteral("speedValueLabel"));
    m_speedValueLabel->setMinimumWidth(50);
    speedLabel->setBuddy(m_speedSlider);
    rows->addWidget(speedLabel, 0, 0);
    rows->addWidget(m_speedSlider, 0, 1);
    rows->addWidget(m_speedValueLabel, 0, 2);

    m_widthLayout = new QHBoxLayout;
    m_widthLayout->setObjectName(QStringLiteral("widthLayout"));
    m_widthLabel = new QLabel(MSPCustomWashWidget::tr("Width:"), sidePanel);
    m_widthLabel->setObjectName(QStringLiteral("widthLabel"));
    m_widthSlider = new QSlider(Qt::Horizontal, sidePanel);
    m_widthSlider->setObjectName(QStringLiteral("widthSlider"));
    m_widthEdit = new QSpinBox(sidePanel);
    m_widthEdit->setObjectName(QStringLiteral("widthEdit"));
    m_widthLabel->setBuddy(m_widthSlider);
    m_widthSlider->setAccessibleName(MSPCustomWashWidget::tr("Width"));
    m_widthEdit->setAccessibleName(MSPCustomWashWidget::tr("Width"));
    m_widthLayout->addWidget(m_widthLabel);
    m_widthLayout->addWidget(m_widthSlider, 1);
    m_widthLayout->addWidget(m_widthEdit);
    rows->addLayout(m_widthLayout, 1, 0, 1, 3);

    auto* directionLabel = new QLabel(MSPCustomWashWidget::tr("Direction:"), sidePanel);
    directionLabel->setObjectName(QStringLiteral("directionLabel"));
    m_upButton = new QRadioButton(MSPCustomWashWidget::tr("Left To Right"), sidePanel);
    m_upButton->setObjectName(QStringLiteral("upButton"));
    m_downButton = new QRadioButton(MSPCustomWashWidget::tr("Right To Left"), sidePanel);
    m_downButton->setObjectName(QStringLiteral("downButton"));
    // One above the other: the column is narrow beside a picker.
    auto* directionColumn = new QVBoxLayout;
    directionColumn->addWidget(m_upButton);
    directionColumn->addWidget(m_downButton);
    rows->addWidget(directionLabel, 2, 0, Qt::AlignTop);
    rows->addLayout(directionColumn, 2, 1, 1, 2);
    rows->setColumnStretch(1, 1);
    sideLayout->addLayout(rows);
    // Without the library (the colour and rainbow washes) the rows stay at the top.
    sideLayout->addStretch(0);

    splitter->addWidget(pickerPanel);
    splitter->addWidget(sidePanel);
    splitter->setCollapsible(1, true);
    // Room beyond the picker's goes to the library and the rows: a wider picker shows nothing more.
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    // A wash runs over two to six colours.
    m_colorList->setMinCount(2);
    m_colorList->setMaxCount(MSPCustomWashEffect::maximumColors);
    m_colorList->setCurrentIndex(0);

    connect(m_speedSlider, &QSlider::valueChanged, this, &MSPColorWashEffectWidget::handleSpeedSliderChanged);
    connect(m_upButton, &QRadioButton::clicked, this, &MSPColorWashEffectWidget::handleUpClicked);
    connect(m_downButton, &QRadioButton::clicked, this, &MSPColorWashEffectWidget::handleDownClicked);
    connect(m_colorList, &ColorListPicker2::editColor, this, &MSPColorWashEffectWidget::handleEditColorChanged);
    connect(m_colorList, &ColorListPicker2::colorCountChanged, this, &MSPColorWashEffectWidget::handleColorListChanged);
    connect(m_colorList, &ColorListPicker2::colorChanged, this, &MSPColorWashEffectWidget::handleColorListChanged);
    connect(this, &MSPColorWashEffectWidget::colorChanged, m_colorList, &ColorListPicker2::editColorChanged);
    connect(m_colorPicker, &ZelColorPicker::mainColorChanged, this,
            &MSPColorWashEffectWidget::on_colorPicker_mainColorChanged);
    connect(m_colorPicker, &ZelColorPicker::comparisonColorChanged, this,
            &MSPColorWashEffectWidget::on_colorPicker_comparisonColorChanged);
    reportDrags(m_speedSlider);

    m_colorPickerButtons->setColorPicker(m_colorPicker);
    m_colorPickerButtons->setNChannelButtonVisible(false);
    followFixtureProfile(m_colorPicker);
    m_showing = true;
    m_colorPicker->setColor(ZelColor(), QString());
    m_showing = false;
    setColorControlsShown(false);
    setWidthControlsShown(false);
    m_speedSlider->setValue(m_speedSlider->minimum());
    m_speedValueLabel->setText(speedText(m_speedSlider->value()));
    m_upButton->setChecked(true);
    m_widthSlider->setRange(1, 32);
    m_widthEdit->setRange(1, 32);
    fitPickerHeight();
}

void MSPColorWashEffectWidget::setColorControlsShown(bool shown) {
    for (QWidget* widget : std::initializer_list<QWidget*>{m_colorList, m_pickerPanel, m_pickerScroll, m_colorPicker,
                                                           m_treePanel, m_colorTreeAndFilter, m_colorPickerButtons}) {
        widget->setVisible(shown);
        widget->setEnabled(shown);
    }
}

void MSPColorWashEffectWidget::setWidthControlsShown(bool shown) {
    m_widthLayout->setEnabled(shown);
    m_widthLabel->setVisible(shown);
    m_widthSlider->setVisible(shown);
    m_widthEdit->setVisible(shown);
}

QString MSPColorWashEffectWidget::speedText(int speed) const {
    return MSPSpeedText::washText(speed);
}

bool MSPColorWashEffectWidget::setEffect(MSPEffect* effect) {
    // The class would take the washes built on the colour wash too, but an editor only ever shows
    // its own kind.
    auto* wash = qobject_cast<MSPColorWashEffect*>(effect);
    if (!wash || wash->type() != kind())
        return false;
    m_effect = wash;
    setSpeed(wash->speed());
    setDirection(wash->direction());
    const bool allowed = pickerModesAllowed();
    m_colorPickerButtons->setRgbButtonVisible(allowed);
    m_colorPickerButtons->setWhiteButtonVisible(allowed);
    return true;
}

void MSPColorWashEffectWidget::setSpeed(int inSpeed) {
    const int speed = qBound(1, inSpeed, 32);
    if (speed != inSpeed) {
        emit speedChanged(speed);
        if (m_effect)
            m_effect->setSpeed(speed);
    }
    const QSignalBlocker blocker(m_speedSlider);
    m_speedSlider->setValue(speed);
    m_speedValueLabel->setText(speedText(speed));
}

void MSPColorWashEffectWidget::setDirection(int inDirection) {
    (inDirection != 0 ? m_downButton : m_upButton)->setChecked(true);
    emit directionChanged(inDirection);
}

void MSPColorWashEffectWidget::handleSpeedSliderChanged(int value) {
    m_speedValueLabel->setText(speedText(value));
    emit speedChanged(value);
    if (m_effect)
        m_effect->setSpeed(value);
}

void MSPColorWashEffectWidget::handleUpClicked() {
    emit directionChanged(0);
    if (m_effect)
        m_effect->setDirection(0);
}

void MSPColorWashEffectWidget::handleDownClicked() {
    emit directionChanged(1);
    if (m_effect)
        m_effect->setDirection(1);
}

void MSPColorWashEffectWidget::handleWidthSliderChanged(int value) {
    {
        const QSignalBlocker blocker(m_widthEdit);
        m_widthEdit->setValue(value);
    }
    emit widthChanged(value);
    if (auto* custom = qobject_cast<MSPCustomWashEffect*>(m_effect))
        custom->setWidth(value);
}

void MSPColorWashEffectWidget::handleWidthEditChanged() {
    bool ok = false;
    const int value = m_widthEdit->cleanText().toInt(&ok, 10);
    if (!ok)
        return;
    {
        const QSignalBlocker blocker(m_widthSlider);
        m_widthSlider->setValue(value);
    }
    emit widthChanged(value);
    if (auto* custom = qobject_cast<MSPCustomWashEffect*>(m_effect))
        custom->setWidth(value);
}

void MSPColorWashEffectWidget::setColorList(QStringList colorList) {
    m_colorList->setText(colorList.join(QLatin1Char('|')));
    m_colorList->update();
    if (!colorList.isEmpty())
        showInPicker(colorList.first());
}

void MSPColorWashEffectWidget::showInPicker(const QString& color) {
    m_showing = true;
    m_colorPicker->setColorAndSelectMainPreview(ZelColor(color), QString());
    m_showing = false;
    m_colorPicker->update();
}

void MSPColorWashEffectWidget::handleColorListChanged() {
    const QStringList list = m_colorList->text().split(QLatin1Char('|'), Qt::SkipEmptyParts);
    emit colorListChanged(list);
    if (auto* custom = qobject_cast<MSPCustomWashEffect*>(m_effect))
        custom->setColorList(list);
}

void MSPColorWashEffectWidget::handleEditColorChanged(QString color) {
    clearPreviousSelection();
    showInPicker(color);
    // A drop tells only this, yet may have added or replaced a colour; the picker showing it is
    // no edit, so the strip's list is taken as it stands (the effect ignores an unchanged list).
    // The empty cell of a wash without colours holds nothing to take.
    if (m_colorList->isEnabled() && !m_colorList->text().isEmpty())
        handleColorListChanged();
}

void MSPColorWashEffectWidget::on_colorPicker_mainColorChanged(ZelColor color) {
    pick(color);
}

void MSPColorWashEffectWidget::on_colorPicker_comparisonColorChanged(ZelColor color) {
    pick(color);
}

void MSPColorWashEffectWidget::pick(const ZelColor& color) {
    if (m_showing || !color.isValid())
        return;
    emit colorChanged(color.aName());
    // The strip hands the colour to the custom wash it edits.
    if (qobject_cast<MSPCustomWashEffect*>(m_effect) && m_colorList->isEnabled())
        noteColorSent(color);
}

void MSPColorWashEffectWidget::fitPickerHeight() {
    // The picker shows whole: the column asks for its full height, and the window makes room (or, on a
    // screen too small, scrolls the whole form).
    const int height = m_colorPicker->minimumSizeHint().height();
    m_colorPicker->setMinimumHeight(height);
    m_pickerScroll->setMinimumHeight(height);
}

void MSPColorWashEffectWidget::showEvent(QShowEvent* event) {
    fitPickerHeight();
    m_pickerScroll->setMinimumWidth(qMax(m_colorPicker->minimumWidth(), m_colorPicker->minimumSizeHint().width()) +
                                    m_pickerScroll->verticalScrollBar()->sizeHint().width());
    // The pickers of every colour editor show one shared set of swatches.
    m_showing = true;
    m_colorPicker->restoreSwatchesFromStore();
    m_showing = false;
    MSPEffectWidget::showEvent(event);
    if (!m_splitterPlaced && m_pickerPanel->isVisibleTo(this)) {
        // The picker starts at its smallest; the library and the rows take the rest.
        m_splitterPlaced = true;
        const int picker = m_pickerPanel->minimumSizeHint().width();
        m_splitter->setSizes({picker, qMax(0, m_splitter->width() - picker - m_splitter->handleWidth())});
    }
}

void MSPColorWashEffectWidget::hideEvent(QHideEvent* event) {
    m_colorPicker->saveSwatchesToStore();
    MSPEffectWidget::hideEvent(event);
}
