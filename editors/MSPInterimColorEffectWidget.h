#pragma once

#include "MSPEffectWidget.h"

#include <QList>

class MSPColorWashEffect;
class MSPCustomWashEffect;
class MSPFixedColorEffect;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;

// Editor of the colour effects (fixed, variable, colour, rainbow and custom wash) until the colour
// picker arrives: it shows the effect's colours and edits its speed, direction and width.
class MSPInterimColorEffectWidget : public MSPEffectWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPInterimColorEffectWidget)

public:
    MSPInterimColorEffectWidget(QWidget* parent, qint32 kind);

    bool setEffect(MSPEffect* effect) override;

    QString speedText(int speed) const;

signals:
    void speedChanged(int speed);
    void directionChanged(int direction);
    void widthChanged(int width);

public slots:
    void setSpeed(int inSpeed);
    void setDirection(int inDirection);

protected slots:
    void handleSpeedSliderChanged(int value);
    void handleUpClicked();
    void handleDownClicked();
    void handleWidthSliderChanged(int value);
    void handleWidthEditChanged();

private:
    bool hasMotion() const;
    bool hasWidth() const;
    void showColors(const QStringList& colors);

    MSPFixedColorEffect* m_colorEffect = nullptr;
    MSPColorWashEffect* m_washEffect = nullptr;
    MSPCustomWashEffect* m_customEffect = nullptr;
    QGroupBox* m_colorsBox = nullptr;
    QHBoxLayout* m_swatchLayout = nullptr;
    QList<QLabel*> m_swatches;
    QSlider* m_speedSlider = nullptr;
    QLabel* m_speedValueLabel = nullptr;
    QRadioButton* m_upButton = nullptr;
    QRadioButton* m_downButton = nullptr;
    QSlider* m_widthSlider = nullptr;
    QSpinBox* m_widthEdit = nullptr;
};
