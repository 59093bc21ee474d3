#pragma once

#include <QAbstractButton>

class QLineEdit;

namespace ZelWidgetsLib {

/**
 * The small round "clear" button inside a line edit: visible only while the line edit holds
 * text; a click empties the line edit (as if the user had deleted the text, so textEdited and
 * textChanged follow) and gives it the focus.
 */
class LineEditClearButton : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY(LineEditClearButton)

public:
    explicit LineEditClearButton(QLineEdit* lineEdit);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void clearLineEdit();
    void updateVisibility(const QString& text);

    QLineEdit* m_lineEdit;
    bool m_hovered = false;
};

} // namespace ZelWidgetsLib
