#include "WindowFit.h"

#include <QtGlobal>

WindowFit::Result WindowFit::compute(const Input& input) {
    Result result;
    const int height = qMax(input.designedHeight, input.needed.height());
    // Alone, the panel's column is the window, as narrow as the panel.
    const int minimumWidth =
        input.panelAlone ? input.needed.width() : qMax(input.designedMinimumWidth, input.needed.width());
    result.scroll = height > input.available.height() || minimumWidth > input.available.width();
    result.height = qMin(height, input.available.height());
    result.minimumWidth = qMin(minimumWidth, input.available.width());
    result.maximumWidth = input.panelAlone ? result.minimumWidth : qMax(result.minimumWidth, input.maximumWidth);
    return result;
}
