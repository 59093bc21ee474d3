#pragma once

#include <QScrollArea>

// A window column that shows its content whole where the screen has room and scrolls where it has not.
// While it may not shrink, it asks for all the room its content needs, so the window grows to fit; once
// the window has reached the screen's edge it may shrink, and scrolls.
class FittingScrollArea : public QScrollArea {
    Q_OBJECT
    Q_DISABLE_COPY(FittingScrollArea)

public:
    // The content is best built with viewport() as its parent before setWidget(): moving a tree of
    // styled widgets into place afterwards polishes every one of them again.
    explicit FittingScrollArea(QWidget* parent = nullptr);

    // The room the content needs to show whole.
    QSize neededSize() const;
    // The room it has beyond that at the column's current size; negative where it lacks room.
    QSize slack() const;
    void setShrinkable(bool shrinkable);
    bool isShrinkable() const { return m_shrinkable; }
    // A column as wide as its content (and its scroll bar while it scrolls), however wide the window.
    void setWidthFixedToContent(bool fixed);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize frameExtent() const;
    void updateWidth();

    bool m_shrinkable = false;
    bool m_widthFixedToContent = false;
};
