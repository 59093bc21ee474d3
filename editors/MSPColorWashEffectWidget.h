#pragma once

#include "MSPEffectWidget.h"

#include <QStringList>

class ColorListPicker2;
class MSPColorWashEffect;
class QHBoxLayout;
class QLabel;
class QRadioButton;
class QScrollArea;
class QSlider;
class QSplitter;
class QSpinBox;
class QWidget;

namespace ZelColorPickerLib {
class ColorTreeAndFilterWidget;
class ZelColorPicker;
class ZelColorPickerButtonsWidget;
} // namespace ZelColorPickerLib

// Speed and direction of a colour wash. The custom and rainbow wash editors build on it and use
// the colour strip, the picker and the width controls it carries hidden.
class MSPColorWashEffectWidget : public MSPEffectWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPColorWashEffectWidget)

public:
    MSPColorWashEffectWidget(QWidget* parent, qint32 kind);

    // False, with nothing changed, for an effect of another kind.
    bool setEffect(MSPEffect* effect) override;
    virtual QString speedText(int speed) const;

signals:
    void speedChanged(int speed);
    void directionChanged(int direction);
    void widthChanged(int width);
    void colorListChanged(QStringList color);
    void colorChanged(QString color);

public slots:
    void setSpeed(int inSpeed);
    void setDirection(int inDirection);
    void setColorList(QStringList colorList);
    void clearPreviousSelection() override {}

protected slots:
    void handleSpeedSliderChanged(int value);
    void handleUpClicked();
    void handleDownClicked();
    void handleWidthSliderChanged(int value);
    void handleWidthEditChanged();
    void handleEditColorChanged(QString color);
    void on_colorPicker_mainColorChanged(ZelColor color);
    void on_colorPicker_comparisonColorChanged(ZelColor color);
    void handleColorListChanged();

protected:
    void setColorControlsShown(bool shown);
    void setWidthControlsShown(bool shown);
    void showInPicker(const QString& color);
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    MSPColorWashEffect* m_effect = nullptr;
    // Set while controls show values from code: what they report back is no user's edit.
    bool m_showing = false;

    ColorListPicker2* m_colorList = nullptr;
    ZelColorPickerLib::ZelColorPicker* m_colorPicker = nullptr;
    ZelColorPickerLib::ColorTreeAndFilterWidget* m_colorTreeAndFilter = nullptr;
    ZelColorPickerLib::ZelColorPickerButtonsWidget* m_colorPickerButtons = nullptr;
    QWidget* m_pickerPanel = nullptr;
    QScrollArea* m_pickerScroll = nullptr;
    QWidget* m_treePanel = nullptr;
    QSlider* m_speedSlider = nullptr;
    QLabel* m_speedValueLabel = nullptr;
    QHBoxLayout* m_widthLayout = nullptr;
    QLabel* m_widthLabel = nullptr;
    QSlider* m_widthSlider = nullptr;
    QSpinBox* m_widthEdit = nullptr;
    QRadioButton* m_upButton = nullptr;
    QRadioButton* m_downButton = nullptr;

private:
    void pick(const ZelColor& color);
    void fitPickerHeight();

    QSplitter* m_splitter = nullptr;
    bool m_splitterPlaced = false;
};
