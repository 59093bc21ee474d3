#pragma once

#include "MSPColorWashEffectWidget.h"

// A wash over the user's own two to six colours, each band `width` lights wide.
class MSPCustomWashEffectWidget : public MSPColorWashEffectWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPCustomWashEffectWidget)

public:
    MSPCustomWashEffectWidget(QWidget* parent, qint32 kind);

    bool setEffect(MSPEffect* effect) override;
    QString speedText(int speed) const override;

public slots:
    void setWidth(int inWidth);
};
