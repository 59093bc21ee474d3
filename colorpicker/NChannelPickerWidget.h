#pragma once

#include "ColorUtils.h"
#include "ZelColor.h"

#include <QStringList>
#include <QVector>
#include <QWidget>

class QFrame;
class QGridLayout;

namespace ZelColorPickerLib {

class DmxSlidersWidget;
class ProfileSelector;

/**
 * The channel controls below a picker page: a fixture profile and one slider per output
 * channel of that profile. Its colours are N-channel colours of the profile, tagged with the
 * render type (0 under the RGB page, 1 under the white page) so the frame shows them there.
 */
class NChannelPickerWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(NChannelPickerWidget)

public:
    explicit NChannelPickerWidget(QWidget* parent = nullptr);

    /**
     * Shows @p color's channel values for the chosen profile (its own profile when
     * @p isNChannel and it is an N-channel colour) without emitting colorChanged.
     */
    void setColor(const ZelColor& color, const QString& uid, bool isNChannel);
    ZelColor color() const { return m_color; }
    QString uid() const { return m_uid; }

    void setRenderType(int renderType) { m_renderType = renderType; }
    int renderType() const { return m_renderType; }
    ColorUtils::HueformProfileID profile() const { return m_profile; }
    /**
     * Shows the channels of @p profile without emitting colorChanged; an N-channel colour
     * keeps its own profile.
     */
    void setProfile(ColorUtils::HueformProfileID profile);

signals:
    void colorChanged(ZelColor& color, QString& uid);

public slots:
    void onHueformProfileChanged(ColorUtils::HueformProfileID hueformProfileID);
    void onDmxChanged(QVector<int> dmx);

private:
    int configuration() const;
    void rebuildSliders();
    void showChannels();

    ZelColor m_color;
    // The colour as it was set: profiles are tried on it, not on the previous profile's form,
    // whose gamut may have clipped it.
    ZelColor m_sourceColor;
    QString m_uid;
    QStringList m_sliderNames;
    ColorUtils::HueformProfileID m_profile = 0;
    int m_renderType = 0;
    QFrame* m_backgroundFrame = nullptr;
    QGridLayout* m_gridLayout = nullptr;
    ProfileSelector* m_hueformProfileComboBox = nullptr;
    DmxSlidersWidget* m_dmxSlidersWidget = nullptr;
};

} // namespace ZelColorPickerLib
