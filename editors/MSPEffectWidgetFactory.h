#pragma once

#include <QObject>

class MSPEffectWidget;
class QWidget;

// Makes the parameter editor of an effect kind.
class MSPEffectWidgetFactory : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(MSPEffectWidgetFactory)

public:
    static MSPEffectWidgetFactory* instance();

    // Null for a kind outside 0-7.
    MSPEffectWidget* create(int kind, QWidget* parent) const;

private:
    MSPEffectWidgetFactory() = default;
};
