#pragma once

#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>

class MSPEffect;

// One of the keypad's eight scenes: the effect it plays and the REST path the keypad keeps it under.
class MSPScene : public QObject {
    Q_OBJECT

public:
    explicit MSPScene(QObject* parent = nullptr);

    MSPEffect* effect() const;
    QString url() const { return m_url; }

    // Takes ownership of effect; the previous effect is cut off and deleted later.
    void setEffect(MSPEffect* effect, bool emitSignal = true);
    void setURL(const QString& url);

    // The body with which the scene is posted to the keypad; empty without an effect.
    QString PostData() const;
    // The scene's <show> element of a document; empty without an effect.
    QString XMLData() const;

signals:
    void effectChanged(MSPScene* scene);
    void effectParamsChanged(MSPScene* scene);

protected slots:
    void handleEffectParamsChanged();

private:
    Q_DISABLE_COPY(MSPScene)

    QPointer<MSPEffect> m_effect;
    QString m_url;
};

Q_DECLARE_METATYPE(MSPScene*)
