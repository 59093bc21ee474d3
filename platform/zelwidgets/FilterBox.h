#pragma once

#include <QLineEdit>

namespace ZelWidgetsLib {

class LineEditClearButton;

/**
 * A line edit for filter texts: a placeholder, a clear button at its right end and Escape to
 * clear. Otherwise an ordinary QLineEdit.
 */
class FilterBox : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY(FilterBox)

public:
    explicit FilterBox(QWidget* parent = nullptr);

    LineEditClearButton* clearButton() const { return m_clearButton; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeClearButton();

    LineEditClearButton* m_clearButton;
};

} // namespace ZelWidgetsLib
