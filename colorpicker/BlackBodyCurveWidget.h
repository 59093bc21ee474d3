#pragma once

#include "ColorSelectorWidget.h"
#include "FixtureGamut.h"
#include "ZelColor.h"

#include <QImage>
#include <QPointF>

namespace ZelColorPickerLib {

/**
 * The chromaticity diagram of the white page: the whites around the black-body curve, the
 * curve with its temperatures, the white range's outline and the chosen point, which is always
 * kept inside the range. A colour set from outside the range is shown where it lies, with a
 * warning, next to the allowed point that replaces it.
 *
 * Given a fixture profile, the diagram also shows the chromaticities that fixture can make (its
 * gamut, FixtureGamut); a point outside it is flagged with what the fixture makes instead.
 *
 * Arrow keys move the point by 0.001 in x or y (0.01 with Shift).
 */
class BlackBodyCurveWidget : public ColorSelectorWidget {
    Q_OBJECT
    Q_DISABLE_COPY(BlackBodyCurveWidget)

public:
    explicit BlackBodyCurveWidget(QWidget* parent = nullptr);

    /** Shows @p color's chromaticity (brought into the white range) and takes its Y as intensity. */
    void setColor(const ZelColor& color);
    void setCCTAndTint(int cct, int tint);
    void setIntensity(double intensity);
    /** Moves the point by @p step toward @p primary (away for a negative step) and emits the colour. */
    void moveTowardPrimary(const QPointF& primary, double step);

    QPointF point() const { return m_point; }
    double intensity() const { return m_intensity; }
    bool isOutsideWhiteRange() const { return m_outside; }

    /** Shows the gamut of @p profile; an unknown profile (the default, -1) shows none. */
    void setFixtureProfile(ColorUtils::HueformProfileID profile);
    ColorUtils::HueformProfileID fixtureProfile() const { return m_gamut.profile(); }
    const FixtureGamut& fixtureGamut() const { return m_gamut; }
    /** True when a fixture profile is set and the point lies outside its gamut. */
    bool isOutsideFixtureGamut() const;
    /** What the fixture makes of the point (at full intensity when the point is dark). */
    ZelColor fixtureColor() const;
    /** The colour of the point with the intensity as Y. */
    ZelColor color() const;

    /** Where (x, y) is drawn, in widget coordinates, and the reverse. */
    QPointF pointFromxy(const QPointF& xy) const;
    QPointF xyFromPoint(const QPointF& position) const;
    QRectF imageRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void colorChanged(ZelColor color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose(const QPointF& xy);
    // Screen readers hear the chosen white as its temperature and tint.
    void updateAccessibleName();
    void renderDiagram();
    void drawGamut(QPainter& painter, const QRectF& local) const;
    QRectF paintWarning(QPainter& painter, const QPointF& topLeft, const QString& title, const QString& detail) const;

    QPointF m_point;
    QPointF m_requestedPoint;
    bool m_outside = false;
    double m_intensity = 1.0;
    FixtureGamut m_gamut;
    // The parts that never change: whites, spectral locus, black-body curve, range outline.
    QImage m_diagram;
};

} // namespace ZelColorPickerLib
