#include "MSPCustomWashEffectWidget.h"

#include "ColorTreeAndFilterWidget.h"
#include "MSPCustomWashEffect.h"
#include "MSPSpeedText.h"
#include "ZelColorLibraryTreeView.h"
#include "ZelColorPicker.h"
#include "ZelColorPickerButtonsWidget.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

using namespace ZelColorPickerLib;

MSPCustomWashEffectWidget::MSPCustomWashEffectWidget(QWidget* parent, qint32 kind)
    : MSPColorWashEffectWidget(parent, kind) {
    setWidthControlsShown(true);
    m_widthSlider->setValue(m_widthSlider->minimum());
    connect(m_widthSlider, &QSlider::valueChanged, this, &MSPCustomWashEffectWidget::handleWidthSliderChanged);
    connect(m_widthEdit, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &MSPCustomWashEffectWidget::handleWidthEditChanged);
    reportDrags(m_widthSlider);

    setColorControlsShown(true);
    m_colorPickerButtons->setFavoritesButtonVisible(true);
    connect(m_colorTreeAndFilter->treeView(), &ZelColorLibraryTreeView::colorItemClicked, m_colorPicker,
            &ZelColorPicker::setColor);
    connect(
        m_colorPicker, &ZelColorPicker::colorAddedToFavorites, this,
        [this](ZelColor color, const QString& uid, const QString& list) { handleAddToFavorites(color, uid, list); });
    connect(m_colorPickerButtons, &ZelColorPickerButtonsWidget::clearPreviousSelection, this,
            &MSPCustomWashEffectWidget::clearPreviousSelection);
}

QString MSPCustomWashEffectWidget::speedText(int speed) const {
    return kind() == MSPEffect::CustomWash ? MSPSpeedText::customText(speed) : MSPSpeedText::washText(speed);
}

bool MSPCustomWashEffectWidget::setEffect(MSPEffect* effect) {
    auto* custom = qobject_cast<MSPCustomWashEffect*>(effect);
    if (!custom || !MSPColorWashEffectWidget::setEffect(effect))
        return false;
    const int width = custom->width();
    {
        const QSignalBlocker sliderBlocker(m_widthSlider);
        const QSignalBlocker editBlocker(m_widthEdit);
        m_widthSlider->setValue(width);
        m_widthEdit->setValue(width);
    }
    custom->setWidth(width);
    setColorList(custom->colorList());
    return true;
}

void MSPCustomWashEffectWidget::setWidth(int inWidth) {
    {
        const QSignalBlocker sliderBlocker(m_widthSlider);
        const QSignalBlocker editBlocker(m_widthEdit);
        m_widthEdit->setValue(inWidth);
        m_widthSlider->setValue(inWidth);
    }
    if (auto* custom = qobject_cast<MSPCustomWashEffect*>(m_effect))
        custom->setWidth(inWidth);
}
