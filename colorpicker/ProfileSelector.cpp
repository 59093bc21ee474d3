#include "ProfileSelector.h"

#include "PickerLog.h"

#include <QCollator>
#include <QDebug>

namespace ZelColorPickerLib {

ProfileSelector::ProfileSelector(QWidget* parent)
    : QComboBox(parent) {
    qRegisterMetaType<ColorUtils::HueformProfileID>("ColorUtils::HueformProfileID");
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    fillProfiles();
    connect(this, QOverload<int>::of(&QComboBox::activated), this, &ProfileSelector::handleIndexChanged);
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ProfileSelector::onCurrentIndexChanged);
}

void ProfileSelector::fillProfiles() {
    const QSignalBlocker blocker(this);
    clear();
    m_profiles = ColorUtils::hueformProfileIDList(false);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    for (const ColorUtils::HueformProfileID profile : qAsConst(m_profiles)) {
        const QString name = ColorUtils::hueformProfileIDName(profile);
        int row = 0;
        while (row < count() && collator.compare(itemText(row), name) <= 0)
            ++row;
        insertItem(row, name, profile);
    }
}

bool ProfileSelector::selectProfile(ColorUtils::HueformProfileID profile) {
    const int row = findData(profile, Qt::UserRole);
    if (row < 0) {
        qCWarning(lcPicker) << "No fixture profile" << profile << "to select";
        return false;
    }
    const QSignalBlocker blocker(this);
    setCurrentIndex(row);
    return true;
}

ColorUtils::HueformProfileID ProfileSelector::currentProfile() const {
    const QVariant data = currentData(Qt::UserRole);
    return data.isValid() ? data.toInt() : -1;
}

void ProfileSelector::handleIndexChanged(int profile) {
    const QVariant data = itemData(profile, Qt::UserRole);
    if (!data.isValid())
        return;
    emit selectedProfile(data.toInt());
}

void ProfileSelector::onCurrentIndexChanged(int) {
    if (m_closeOnSelection)
        close();
}

} // namespace ZelColorPickerLib
