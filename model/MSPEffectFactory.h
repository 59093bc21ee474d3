#pragma once

#include <QObject>

class MSPEffect;

// Makes effects by type number, with their defaults.
class MSPEffectFactory : public QObject {
    Q_OBJECT

public:
    static MSPEffectFactory* instance();

    // A new effect of type 0-7 with the given parent; null for any other number.
    MSPEffect* create(int type, QObject* parent = nullptr) const;

private:
    explicit MSPEffectFactory(QObject* parent = nullptr);
    Q_DISABLE_COPY(MSPEffectFactory)
};
