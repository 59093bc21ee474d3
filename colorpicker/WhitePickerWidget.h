#pragma once

#include "ZelColor.h"

#include <QWidget>

class QFrame;
class QVBoxLayout;

namespace ZelColorPickerLib {

class BlackBodyCurveWidget;
class ColorTempSliderWidget;
class ColorTintSliderWidget;

/**
 * The white page: colour temperature and tint sliders over the chromaticity diagram, all
 * showing one white of the white range. Its colours are chromaticity colours whose Y is the
 * intensity.
 *
 * Ctrl+R, Ctrl+G and Ctrl+B move the white toward red, green or blue; with Shift away from it.
 */
class WhitePickerWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(WhitePickerWidget)

public:
    explicit WhitePickerWidget(QWidget* parent = nullptr);

    /** Shows @p color, brought into the white range, without emitting colorChanged. */
    void setColor(const ZelColor& color);
    ZelColor color() const { return m_color; }
    double intensity() const { return m_intensity; }

    /** Shows on the diagram what a fixture of @p profile can make; -1 shows nothing. */
    void setFixtureProfile(ColorUtils::HueformProfileID profile);
    ColorUtils::HueformProfileID fixtureProfile() const;

    static constexpr double PrimaryStep = 0.002;

signals:
    void colorChanged(ZelColor color, const QString& uid);
    void intensityChanged(qreal intensity);

public slots:
    void onIntensityChanged(qreal intensity);
    void onBlackBodyCurveColorChanged(ZelColor color);
    void onColorTempChanged(int cct);
    void onColorTintChanged(int colorTint);
    void onIncreaseRed();
    void onDecreaseRed();
    void onIncreaseGreen();
    void onDecreaseGreen();
    void onIncreaseBlue();
    void onDecreaseBlue();

private:
    void showOnSliders(const ZelColor& color);
    void makeColorFromSliders();
    void addShortcut(const QString& keys, void (WhitePickerWidget::*slot)());

    ZelColor m_color;
    double m_intensity = 1.0;
    QVBoxLayout* m_verticalLayout = nullptr;
    ColorTempSliderWidget* m_cctSliderWidget = nullptr;
    ColorTintSliderWidget* m_tintSliderWidget = nullptr;
    QFrame* m_frame = nullptr;
    BlackBodyCurveWidget* m_blackBodyCurveWidget = nullptr;
};

} // namespace ZelColorPickerLib
