#include "NChannelPickerWidget.h"

#include "DmxSlidersWidget.h"
#include "PickerLog.h"
#include "ProfileSelector.h"
#include "TristimulusFactory.h"

#include <QDebug>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace ZelColorPickerLib {

NChannelPickerWidget::NChannelPickerWidget(QWidget* parent)
    : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_backgroundFrame = new QFrame(this);
    m_backgroundFrame->setObjectName(QStringLiteral("backgroundFrame"));
    m_backgroundFrame->setStyleSheet(QStringLiteral("QFrame#backgroundFrame {background-color: rgb(225, 225, 225);}"));
    outer->addWidget(m_backgroundFrame);

    m_gridLayout = new QGridLayout(m_backgroundFrame);
    m_gridLayout->setObjectName(QStringLiteral("gridLayout_2"));
    m_gridLayout->setContentsMargins(6, 6, 6, 6);
    m_gridLayout->setHorizontalSpacing(6);
    auto* profileLabel = new QLabel(tr("Profile:"), m_backgroundFrame);
    profileLabel->setObjectName(QStringLiteral("profileLabel"));
    m_hueformProfileComboBox = new ProfileSelector(m_backgroundFrame);
    m_hueformProfileComboBox->setObjectName(QStringLiteral("hueformProfileComboBox"));
    profileLabel->setBuddy(m_hueformProfileComboBox);
    m_dmxSlidersWidget = new DmxSlidersWidget(m_backgroundFrame);
    m_dmxSlidersWidget->setObjectName(QStringLiteral("dmxSlidersWidget"));
    m_gridLayout->addWidget(profileLabel, 0, 0);
    m_gridLayout->addWidget(m_hueformProfileComboBox, 0, 1);
    m_gridLayout->setColumnStretch(2, 1);
    m_gridLayout->addWidget(m_dmxSlidersWidget, 1, 0, 1, 3);

    const QList<ColorUtils::HueformProfileID> profiles = ColorUtils::hueformProfileIDList(false);
    if (!profiles.isEmpty() && !profiles.contains(m_profile))
        m_profile = profiles.first();
    m_hueformProfileComboBox->selectProfile(m_profile);
    m_color = ZelColor::fromRgb8(255, 255, 255).convertTo(ZelColor::NChannel, configuration(), m_profile);
    rebuildSliders();
    showChannels();

    connect(m_hueformProfileComboBox, &ProfileSelector::selectedProfile, this,
            &NChannelPickerWidget::onHueformProfileChanged);
    connect(m_dmxSlidersWidget, &DmxSlidersWidget::dmxChanged, this, &NChannelPickerWidget::onDmxChanged);
}

int NChannelPickerWidget::configuration() const {
    return ColorUtils::nChannelConfigurationForHueformProfileID(m_profile);
}

void NChannelPickerWidget::rebuildSliders() {
    const Tristimulus* channels = TristimulusFactory::getInstance()->getTristimulus(m_profile, configuration());
    const QStringList names = channels->getChannelNames();
    // The sliders stay when the channels do: a colour handed back while one of them is being
    // changed must not delete the slider or spin box that is still handling the event.
    if (names == m_sliderNames && m_dmxSlidersWidget->sliderCount() == names.size())
        return;
    m_sliderNames = names;
    m_dmxSlidersWidget->buildSliders(names);
}

void NChannelPickerWidget::showChannels() {
    QVector<int> values;
    for (int i = 0; i < m_dmxSlidersWidget->sliderCount(); ++i)
        values << m_color.getNChannel8(i);
    m_dmxSlidersWidget->setValues(values);
}

void NChannelPickerWidget::setColor(const ZelColor& color, const QString& uid, bool isNChannel) {
    if (isNChannel && color.spec() == ZelColor::NChannel &&
        ColorUtils::isValidHueformProfileID(color.hueformProfileID())) {
        m_profile = color.hueformProfileID();
        m_hueformProfileComboBox->selectProfile(m_profile);
    }
    m_uid = uid;
    m_sourceColor = color;
    m_color = color.convertTo(ZelColor::NChannel, configuration(), m_profile);
    m_color.setNChannelRenderType(m_renderType);
    rebuildSliders();
    showChannels();
}

void NChannelPickerWidget::onHueformProfileChanged(ColorUtils::HueformProfileID hueformProfileID) {
    if (!ColorUtils::isValidHueformProfileID(hueformProfileID)) {
        qCWarning(lcPicker) << "Ignoring unknown fixture profile" << hueformProfileID;
        return;
    }
    m_profile = hueformProfileID;
    m_color =
        (m_sourceColor.isValid() ? m_sourceColor : m_color).convertTo(ZelColor::NChannel, configuration(), m_profile);
    m_color.setNChannelRenderType(m_renderType);
    rebuildSliders();
    // Only a view: the colour changes when a channel is moved, not while profiles are looked at.
    showChannels();
}

void NChannelPickerWidget::setProfile(ColorUtils::HueformProfileID profile) {
    // A colour of channels keeps showing its own profile.
    if (!ColorUtils::isValidHueformProfileID(profile) || profile == m_profile ||
        m_sourceColor.spec() == ZelColor::NChannel || !m_hueformProfileComboBox->selectProfile(profile))
        return;
    m_profile = profile;
    m_color =
        (m_sourceColor.isValid() ? m_sourceColor : m_color).convertTo(ZelColor::NChannel, configuration(), m_profile);
    m_color.setNChannelRenderType(m_renderType);
    rebuildSliders();
    showChannels();
}

void NChannelPickerWidget::onDmxChanged(QVector<int> dmx) {
    QVector<double> levels;
    levels.reserve(dmx.size());
    for (const int value : qAsConst(dmx))
        levels << qBound(0, value, 255) / 255.0;
    const double alpha = m_color.isValid() ? m_color.alphaF() : 1.0;
    m_color = ZelColor::fromNChannelF(levels, configuration(), m_profile);
    m_color.setAlphaF(alpha);
    m_sourceColor = m_color;
    m_color.setNChannelRenderType(m_renderType);
    emit colorChanged(m_color, m_uid);
}

} // namespace ZelColorPickerLib
