#include "MSPDuoWhiteEffectWidget.h"

MSPDuoWhiteEffectWidget::MSPDuoWhiteEffectWidget(QWidget* parent, qint32 kind)
    : MSPWhiteEffectWidget(parent, kind) {
    showDuoScale();
}
