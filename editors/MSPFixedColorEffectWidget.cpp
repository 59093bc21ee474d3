#include "MSPFixedColorEffectWidget.h"

#include "ColorTreeAndFilterWidget.h"
#include "MSPFixedColorEffect.h"
#include "ZelColorLibraryTreeView.h"
#include "ZelColorPicker.h"
#include "ZelColorPickerButtonsWidget.h"
#include "ZelStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QSplitter>
#include <QVBoxLayout>

using namespace ZelColorPickerLib;

MSPFixedColorEffectWidget::MSPFixedColorEffectWidget(QWidget* parent, qint32 kind)
    : MSPEffectWidget(parent, kind) {
    setObjectName(QStringLiteral("MSPFixedColorWidget"));
    setWindowTitle(QCoreApplication::translate("MSPFixedColorWidget", "Form"));

    auto* layout = new QHBoxLayout(this);
    auto* column = new QVBoxLayout;
    m_colorPickerButtons = new ZelColorPickerButtonsWidget(this);
    m_colorPickerButtons->setObjectName(QStringLiteral("colorPickerButtons"));
    column->addWidget(m_colorPickerButtons);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    auto* style = new ZelWidgetsLib::ZelStyle;
    style->setParent(m_splitter); // a widget does not own the style it is given
    m_splitter->setStyle(style);
    m_colorPicker = new ZelColorPicker(m_splitter);
    m_colorPicker->setObjectName(QStringLiteral("colorPicker"));
    m_colorPicker->setMinimumWidth(360);
    m_colorPicker->setMaximumHeight(50000);
    auto* treePanel = new QWidget(m_splitter);
    treePanel->setObjectName(QStringLiteral("treePanel"));
    auto* treeLayout = new QVBoxLayout(treePanel);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    m_colorTreeAndFilter = new ColorTreeAndFilterWidget(treePanel);
    m_colorTreeAndFilter->setObjectName(QStringLiteral("colorTreeAndFilter"));
    treeLayout->addWidget(m_colorTreeAndFilter);
    m_splitter->addWidget(m_colorPicker);
    m_splitter->addWidget(treePanel);
    m_splitter->setCollapsible(1, true);
    m_splitter->setStretchFactor(0, 1);
    column->addWidget(m_splitter, 1);
    layout->addLayout(column);

    m_colorPickerButtons->setColorPicker(m_colorPicker);
    m_colorPickerButtons->setNChannelButtonVisible(false);
    m_colorPickerButtons->setFavoritesButtonVisible(true);
    // Wider and higher only where a large font needs it.
    m_colorPickerButtons->setFixedSize(QSize(149, 40).expandedTo(m_colorPickerButtons->sizeHint()));
    followFixtureProfile(m_colorPicker);
    connect(m_colorTreeAndFilter->treeView(), &ZelColorLibraryTreeView::colorItemClicked, m_colorPicker,
            &ZelColorPicker::setColor);
    connect(
        m_colorPicker, &ZelColorPicker::colorAddedToFavorites, this,
        [this](ZelColor color, const QString& uid, const QString& list) { handleAddToFavorites(color, uid, list); });
    connect(m_colorPicker, &ZelColorPicker::clearPreviousSelection, m_colorTreeAndFilter->treeView(),
            &ZelColorLibraryTreeView::clearSelection);
    connect(m_colorPickerButtons, &ZelColorPickerButtonsWidget::clearPreviousSelection, this,
            &MSPFixedColorEffectWidget::clearPreviousSelection);
    connect(m_colorPicker, &ZelColorPicker::mainColorChanged, this,
            &MSPFixedColorEffectWidget::on_colorPicker_mainColorChanged);
    connect(m_colorPicker, &ZelColorPicker::comparisonColorChanged, this,
            &MSPFixedColorEffectWidget::on_colorPicker_comparisonColorChanged);

    m_showing = true;
    m_colorPicker->setColor(ZelColor(), QString());
    m_showing = false;
}

bool MSPFixedColorEffectWidget::setEffect(MSPEffect* effect) {
    // The class would take a variable colour effect too, but an editor only ever shows its own kind.
    auto* fixed = qobject_cast<MSPFixedColorEffect*>(effect);
    if (!fixed || fixed->type() != kind())
        return false;
    m_effect = fixed;
    setColor(fixed->color());
    const bool allowed = pickerModesAllowed();
    m_colorPickerButtons->setRgbButtonVisible(allowed);
    m_colorPickerButtons->setWhiteButtonVisible(allowed);
    update();
    return true;
}

void MSPFixedColorEffectWidget::setColor(QString inColor) {
    m_color = inColor;
    m_showing = true;
    m_colorPicker->setColorAndSelectMainPreview(ZelColor(inColor), QString());
    m_showing = false;
    m_colorPicker->update();
}

void MSPFixedColorEffectWidget::on_colorPicker_mainColorChanged(ZelColor color) {
    pick(color);
}

void MSPFixedColorEffectWidget::on_colorPicker_comparisonColorChanged(ZelColor color) {
    pick(color);
}

void MSPFixedColorEffectWidget::pick(const ZelColor& color) {
    if (m_showing || !color.isValid())
        return;
    const QString text = color.aName();
    m_color = text;
    emit colorChanged(text);
    if (m_effect) {
        m_effect->setColor(text);
        noteColorSent(color);
    }
}

void MSPFixedColorEffectWidget::showEvent(QShowEvent* event) {
    // The pickers of every colour editor show one shared set of swatches.
    m_showing = true;
    m_colorPicker->restoreSwatchesFromStore();
    m_showing = false;
    MSPEffectWidget::showEvent(event);
}

void MSPFixedColorEffectWidget::hideEvent(QHideEvent* event) {
    m_colorPicker->saveSwatchesToStore();
    MSPEffectWidget::hideEvent(event);
}
