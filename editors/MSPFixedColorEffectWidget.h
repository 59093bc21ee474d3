#pragma once

#include "MSPEffectWidget.h"

class MSPFixedColorEffect;
class QSplitter;

namespace ZelColorPickerLib {
class ColorTreeAndFilterWidget;
class ZelColorPicker;
class ZelColorPickerButtonsWidget;
} // namespace ZelColorPickerLib

// The one colour of a fixed (or variable) colour effect, picked with the colour picker or from
// the colour library beside it.
class MSPFixedColorEffectWidget : public MSPEffectWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPFixedColorEffectWidget)

public:
    MSPFixedColorEffectWidget(QWidget* parent, qint32 kind);

    // False, with nothing changed, for an effect of another kind.
    bool setEffect(MSPEffect* effect) override;
    QString color() const { return m_color; }

signals:
    void colorChanged(QString color);

public slots:
    void setColor(QString inColor);
    void clearPreviousSelection() override {}

protected slots:
    void on_colorPicker_mainColorChanged(ZelColor color);
    void on_colorPicker_comparisonColorChanged(ZelColor color);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void pick(const ZelColor& color);

    MSPFixedColorEffect* m_effect = nullptr;
    QString m_color;
    // Set while the picker shows a colour from code: what it reports back is no user's choice.
    bool m_showing = false;
    ZelColorPickerLib::ZelColorPickerButtonsWidget* m_colorPickerButtons = nullptr;
    QSplitter* m_splitter = nullptr;
    ZelColorPickerLib::ZelColorPicker* m_colorPicker = nullptr;
    ZelColorPickerLib::ColorTreeAndFilterWidget* m_colorTreeAndFilter = nullptr;
};
