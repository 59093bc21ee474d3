#include "ZelColorPicker.h"

#include "PickerLog.h"
#include "ZelColorLibrary.h"
#include "ZelColorPickerWidget.h"

#include <QSettings>
#include <QVBoxLayout>

namespace ZelColorPickerLib {

ZelColorPicker::ZelColorPicker(QWidget* parent)
    : QWidget(parent) {
    ZelColor::registerMetaType();
    seedLibrary();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_body = new ZelColorPickerWidget(this);
    layout->addWidget(m_body);

    connect(m_body, &ZelColorPickerWidget::mainColorChanged, this, &ZelColorPicker::mainColorChanged);
    connect(m_body, &ZelColorPickerWidget::comparisonColorChanged, this, &ZelColorPicker::comparisonColorChanged);
    connect(m_body, &ZelColorPickerWidget::colorAddedToFavorites, this, &ZelColorPicker::colorAddedToFavorites);
    connect(m_body, &ZelColorPickerWidget::pickerSetOnSetColor, this, &ZelColorPicker::pickerSetOnSetColor);
    connect(m_body, &ZelColorPickerWidget::clearPreviousSelection, this, &ZelColorPicker::clearPreviousSelection);
}

void ZelColorPicker::seedLibrary() {
    ZelColorLibrary* library = ZelColorLibrary::Instance();
    if (library->containsDefaults())
        return;
    library->init(false, false, false);
    library->addDefaultColors();
    library->loadPresetFiles();
    library->setContainsDefaults();
    library->loadUserColors(QString());
    migrateOldFavorites();
}

void ZelColorPicker::migrateOldFavorites() {
    QSettings settings(QStringLiteral("Orvane"), QStringLiteral("ZelColorPicker"));
    settings.beginGroup(QStringLiteral("Effect Manager"));
    settings.beginGroup(QStringLiteral("Favorite Colors"));
    const int count = settings.childGroups().size();
    if (count > 0) {
        ZelColorLibrary* library = ZelColorLibrary::Instance();
        const QString list = library->createColorList(tr("Migrated Favorites"), true);
        for (int i = 0; i < count && !list.isEmpty(); ++i) {
            settings.beginGroup(QStringLiteral("Color_") + QString::number(i));
            const QString name = settings.value(QStringLiteral("ColorName")).toString();
            const QString value = settings.value(QStringLiteral("ColorValue")).toString();
            const QString uid = settings.value(QStringLiteral("ColorUid")).toString();
            settings.endGroup();
            ZelColor color;
            color.setNamedColor(value);
            if (!color.isValid()) {
                qCWarning(lcPicker) << "Skipping an old favourite colour that cannot be read:" << i << value;
                continue;
            }
            const QString usedUid = ZelColorLibrary::isValidUid(uid) ? uid : QString();
            if (library->createColorWithName(color, name, usedUid, list, QString()).isEmpty())
                qCWarning(lcPicker) << "Could not migrate the old favourite colour" << name << value;
        }
    }
    settings.endGroup();
    if (count > 0)
        settings.remove(QStringLiteral("Favorite Colors"));
    settings.endGroup();
}

ZelColor ZelColorPicker::color() const {
    return m_body->color();
}

QString ZelColorPicker::uid() const {
    return m_body->uid();
}

void ZelColorPicker::showRgbPicker() {
    m_body->showRgbPicker();
}

void ZelColorPicker::showWhitePicker() {
    m_body->showWhitePicker();
}

void ZelColorPicker::showNChannelPickers(bool show) {
    m_body->showNChannelPickers(show);
}

void ZelColorPicker::setComparison(bool on) {
    m_body->setComparison(on);
}

bool ZelColorPicker::isComparison() const {
    return m_body->isComparison();
}

void ZelColorPicker::saveSwatchesToStore() {
    m_body->saveSwatchesToStore();
}

void ZelColorPicker::restoreSwatchesFromStore() {
    m_body->restoreSwatchesFromStore();
}

void ZelColorPicker::setFixtureProfile(ColorUtils::HueformProfileID profile) {
    m_body->setFixtureProfile(profile);
}

ColorUtils::HueformProfileID ZelColorPicker::fixtureProfile() const {
    return m_body->fixtureProfile();
}

void ZelColorPicker::addCurrentColorToFavorites(const QString& list) {
    m_body->onAddColorToFavorites(m_body->color(), m_body->uid(), list);
}

void ZelColorPicker::setColorAndSelectMainPreview(ZelColor color, const QString& uid) {
    emit clearPreviousSelection();
    m_body->selectMainSwatch();
    m_body->setColor(color, uid, false);
}

void ZelColorPicker::setColor(ZelColor color, const QString& uid) {
    m_body->setColor(color, uid, false);
}

} // namespace ZelColorPickerLib
