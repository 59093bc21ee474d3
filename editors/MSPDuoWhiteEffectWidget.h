#pragma once

#include "MSPWhiteEffectWidget.h"

// The white editor with the Duo white scale: warm at 0, neutral in the middle, cool at 255.
class MSPDuoWhiteEffectWidget : public MSPWhiteEffectWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPDuoWhiteEffectWidget)

public:
    MSPDuoWhiteEffectWidget(QWidget* parent, qint32 kind);
};
