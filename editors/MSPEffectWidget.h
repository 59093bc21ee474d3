#pragma once

#include "ZelColor.h"

#include <QPointer>
#include <QWidget>

class MSPEffect;
class QAbstractSlider;

namespace ZelColorPickerLib {
class ZelColorPicker;
}

// Base of the parameter editors, one per effect kind, on the pages of the scene settings editor.
class MSPEffectWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPEffectWidget)

public:
    MSPEffectWidget(QWidget* parent, qint32 kind);

    qint32 kind() const { return m_kind; }

public slots:
    // False, with nothing changed, when the effect is not of the editor's own class.
    virtual bool setEffect(MSPEffect* effect) = 0;
    virtual void clearPreviousSelection() {}

signals:
    // A value is still being changed (a slider is held); the scene is not ready to be saved.
    void intermediateChange();
    // The held control was let go: the last value already reached the effect.
    void intermediateChangeFinished();

protected slots:
    // Files the colour in the colour library: under `list`, or the picker's default favourites list
    // when that is empty; a missing list is made first. A colour that came from the library keeps
    // the library's name for it.
    void handleAddToFavorites(ZelColor color, QString uid, QString list);

protected:
    // The RGB and white pages of the colour pickers need firmware newer than 1.1.19, except in
    // the demo, where nothing reaches a keypad.
    static bool pickerModesAllowed();

    // Adds a colour the editor wrote to its effect to the pickers' recent colours when it goes to a
    // keypad: only while one is connected (the demo sends nothing).
    static void noteColorSent(const ZelColor& color);

    // Reports the drags of a slider; call it after the slider's value handler is connected, so the
    // report follows the write of each value.
    void reportDrags(QAbstractSlider* slider);

    // Keeps the picker showing the gamut of the keypad's fixture profile: now, whenever the
    // configuration reports a change, and each time the editor is shown (the configuration
    // editor's Save changes the profile without a signal).
    void followFixtureProfile(ZelColorPickerLib::ZelColorPicker* picker);

    void showEvent(QShowEvent* event) override;

private:
    void showFixtureProfile();

    const qint32 m_kind;
    QPointer<ZelColorPickerLib::ZelColorPicker> m_fixturePicker;
};
