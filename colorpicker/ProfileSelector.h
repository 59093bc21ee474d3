#pragma once

#include "ColorUtils.h"

#include <QComboBox>

namespace ZelColorPickerLib {

/** Chooses a fixture profile: the profiles by name, alphabetically, each with its id as Qt::UserRole data. */
class ProfileSelector : public QComboBox {
    Q_OBJECT
    Q_DISABLE_COPY(ProfileSelector)

public:
    explicit ProfileSelector(QWidget* parent = nullptr);

    /** Makes @p profile current without emitting selectedProfile; false when it is not listed. */
    bool selectProfile(ColorUtils::HueformProfileID profile);
    ColorUtils::HueformProfileID currentProfile() const;

    /** Whether the selector closes itself after a choice (for selectors shown as pop-ups). */
    void setCloseOnSelection(bool close) { m_closeOnSelection = close; }
    bool closeOnSelection() const { return m_closeOnSelection; }

signals:
    void selectedProfile(ColorUtils::HueformProfileID profile);

public slots:
    void handleIndexChanged(int profile);

private:
    void fillProfiles();
    void onCurrentIndexChanged(int index);

    QList<ColorUtils::HueformProfileID> m_profiles;
    bool m_closeOnSelection = false;
};

} // namespace ZelColorPickerLib
