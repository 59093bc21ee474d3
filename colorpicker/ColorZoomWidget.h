#pragma once

#include "ColorSelectorWidget.h"

#include <QRectF>

namespace ZelColorPickerLib {

/** Base of the magnified views: they tell the overview which area they show. */
class ColorZoomWidget : public ColorSelectorWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ColorZoomWidget)

public:
    explicit ColorZoomWidget(QWidget* parent = nullptr);

signals:
    void zoomAreaChanged(QRectF zoomArea);
};

} // namespace ZelColorPickerLib
