#pragma once

#include <QVector>
#include <QWidget>

class QHBoxLayout;

namespace ZelColorPickerLib {

class DmxSliderWidget;

/** One DmxSliderWidget per device channel, side by side. */
class DmxSlidersWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(DmxSlidersWidget)

public:
    explicit DmxSlidersWidget(QWidget* parent = nullptr);

    /** Replaces the sliders by one per name, all at 0. */
    void buildSliders(const QStringList& channelNames);
    /** Shows @p values without emitting dmxChanged; missing values read 0. */
    void setValues(const QVector<int>& values);
    QVector<int> values() const;
    int sliderCount() const { return m_sliders.size(); }

signals:
    void dmxChanged(QVector<int> dmx);

public slots:
    void onSliderChanged();

private:
    QHBoxLayout* m_layout = nullptr;
    QVector<DmxSliderWidget*> m_sliders;
};

} // namespace ZelColorPickerLib
