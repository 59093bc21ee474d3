#pragma once

#include <QWidget>

class QLabel;
class QSlider;
class QSpinBox;

namespace ZelColorPickerLib {

/** One device channel, 0..255: a name above a vertical slider and a spin box. */
class DmxSliderWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(DmxSliderWidget)

public:
    explicit DmxSliderWidget(QWidget* parent = nullptr);

    void setLabel(const QString& text);
    QString label() const;
    /** Shows @p value; with @p emitSignal false nothing is emitted. */
    void setValue(int value, bool emitSignal = true);
    int value() const { return m_value; }
    QSpinBox* spinBox() const { return m_spinBox; }

signals:
    void valueChanged(int value);

public slots:
    void onSliderChanged(int value);
    void onSpinBoxChanged(int value);

private:
    void showValue(int value);

    int m_value = 0;
    QLabel* m_label = nullptr;
    QSlider* m_slider = nullptr;
    QSpinBox* m_spinBox = nullptr;
};

} // namespace ZelColorPickerLib
