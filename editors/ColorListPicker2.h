#pragma once

#include <QPoint>
#include <QStringList>
#include <QWidget>

class QMenu;
class QMimeData;

// One row of colour cells with which the user builds an ordered list of colours: click to edit,
// "+" to add, drag to reorder, drag out to delete, drop a colour from the library onto it.
class ColorListPicker2 : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ColorListPicker2)
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    enum State {
        Idle = 0,
        PlusPressed = 1,
        PlusPressedMovedOff = 2,
        CellPressed = 3,
        Dragging = 4,
        Inserted = 5,
        Appended = 6
    };

    static constexpr int CellSize = 27;

    explicit ColorListPicker2(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    QStringList colors() const { return m_colors; }
    int count() const { return m_colors.size(); }
    int currentIndex() const { return m_currentIndex; }
    void setCurrentIndex(int index);
    int minCount() const { return m_minCount; }
    void setMinCount(int count) { m_minCount = count; }
    int maxCount() const { return m_maxCount; }
    void setMaxCount(int count) { m_maxCount = count; }
    int state() const { return m_state; }

    // The outer square of colour cell i.
    QRect cellRect(int index) const;
    QSize minimumSizeHint() const override;
    // Whether the "+" cell shows (after the last colour).
    bool showsPlus() const { return hasPlus(); }
    // How a screen reader calls colour i: its name in the colour library, else its values.
    QString colorName(int index) const;

signals:
    void editColor(const QString& color);
    void colorChanged(int index, const QString& color);
    void colorCountChanged();

public slots:
    void editColorChanged(const QString& inNewColor);
    void onCancelledColor(const QString& c);
    void onContextMenuDelete();
    void onContextMenuInsert();

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Left and right choose the colour to edit, Delete removes it, Insert doubles it, "+" adds one.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool hasPlus() const { return count() < m_maxCount; }
    QRect plusRect() const;
    QRect targetRect(int index) const;
    int cellAt(const QPoint& pos) const;
    bool overPlus(const QPoint& pos) const;
    bool isDraggingOut() const;
    void appendColor(const QString& color);
    void deleteColor(int index);
    void updateSize(int cells);
    QString toolTipAt(const QPoint& pos) const;
    static QString droppedColor(const QMimeData* data);
    static bool canDecode(const QMimeData* data);
    // The colour the keyboard moved to becomes the one edited, as a click on it does.
    void chooseFromKeyboard(int index);
    void announceCurrent();

    QStringList m_colors;
    QString m_text;
    int m_pressedIndex = -1;
    int m_menuIndex = -1;
    int m_currentIndex = -1;
    QPoint m_mousePos;
    QPoint m_pressOffset;
    bool m_externalDragActive = false;
    bool m_draggingOut = false;
    int m_maxCount = 200;
    int m_minCount = 1;
    int m_state = Idle;
};
