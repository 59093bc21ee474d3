#include "MSPEffectWidget.h"

#include "ConnectionState.h"
#include "RecentColors.h"
#include "SystemConfiguration.h"
#include "UiLog.h"
#include "ZelColorLibrary.h"
#include "ZelColorPicker.h"
#include "ZelColorPickerButtonsWidget.h"

#include <QAbstractSlider>
#include <QDebug>

MSPEffectWidget::MSPEffectWidget(QWidget* parent, qint32 kind)
    : QWidget(parent)
    , m_kind(kind) {}

void MSPEffectWidget::reportDrags(QAbstractSlider* slider) {
    connect(slider, &QAbstractSlider::valueChanged, this, [this, slider] {
        if (slider->isSliderDown())
            emit intermediateChange();
    });
    connect(slider, &QAbstractSlider::sliderReleased, this, &MSPEffectWidget::intermediateChangeFinished);
}

void MSPEffectWidget::handleAddToFavorites(ZelColor color, QString uid, QString list) {
    ZelColorLibrary* library = ZelColorLibrary::Instance();
    if (list.isEmpty())
        list = ZelColorPickerLib::ZelColorPickerButtonsWidget::defaultFavoriteListName();
    if (!library->getModifiableLists().contains(list) && library->createColorList(list).isEmpty()) {
        qCWarning(lcUi) << "could not make the colour list" << list;
        return;
    }
    // The library hands out a fresh uid for the copy, so the original entry stays where it was.
    const QString added = uid.isEmpty()
                              ? library->createColor(color, QString(), list, QString(), QString())
                              : library->createColorWithName(color, library->getName(uid), QString(), list, QString());
    if (added.isEmpty())
        qCWarning(lcUi) << "the colour library refused" << color.aName();
}

void MSPEffectWidget::followFixtureProfile(ZelColorPickerLib::ZelColorPicker* picker) {
    m_fixturePicker = picker;
    connect(SystemConfiguration::instance(), &SystemConfiguration::configurationChanged, this,
            &MSPEffectWidget::showFixtureProfile);
    showFixtureProfile();
}

void MSPEffectWidget::showFixtureProfile() {
    if (m_fixturePicker)
        m_fixturePicker->setFixtureProfile(SystemConfiguration::instance()->fixtureClass());
}

void MSPEffectWidget::showEvent(QShowEvent* event) {
    showFixtureProfile();
    QWidget::showEvent(event);
}

void MSPEffectWidget::noteColorSent(const ZelColor& color) {
    if (ConnectionState::instance()->state() == ConnectionState::Connected)
        ZelColorPickerLib::RecentColors::instance()->add(color);
}

bool MSPEffectWidget::pickerModesAllowed() {
    return SystemConfiguration::instance()->isNewerThan(QStringLiteral("1.1.19")) ||
           ConnectionState::instance()->state() == ConnectionState::OfflineDemo;
}
