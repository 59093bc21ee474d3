#include "ColorZoomWidget.h"

namespace ZelColorPickerLib {

ColorZoomWidget::ColorZoomWidget(QWidget* parent)
    : ColorSelectorWidget(parent) {}

} // namespace ZelColorPickerLib
