#pragma once

#include <QRadioButton>

// A scene key of the control panel: one of the plate's exclusive radio buttons that stays a Tab stop
// of its own. Qt lets only the checked button of an exclusive group take Tab focus (arrows are meant
// to move within it); the plate's keys are reached one by one with Tab.
class SceneKeyButton : public QRadioButton {
    Q_OBJECT
    Q_DISABLE_COPY(SceneKeyButton)

public:
    explicit SceneKeyButton(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
};
