#include "SceneKeyButton.h"

SceneKeyButton::SceneKeyButton(QWidget* parent)
    : QRadioButton(parent) {}

void SceneKeyButton::focusInEvent(QFocusEvent* event) {
    // QAbstractButton's handler would take Tab focus from the group's other buttons.
    QWidget::focusInEvent(event);
}
