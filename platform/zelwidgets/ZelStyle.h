#pragma once

#include <QProxyStyle>

namespace ZelWidgetsLib {

/**
 * The editors' style: the application's style with wider splitter handles that show a grip,
 * so the panes of an effect editor are easy to find and drag.
 */
class ZelStyle : public QProxyStyle {
    Q_OBJECT
    Q_DISABLE_COPY(ZelStyle)

public:
    ZelStyle();
    explicit ZelStyle(QStyle* base);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

} // namespace ZelWidgetsLib
