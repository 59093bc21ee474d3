#pragma once

#include <QAccessibleWidget>
#include <QVector>

class ColorListPicker2;

// What screen readers find in the colour list strip: a list whose items are its colour cells, each
// called by the colour's name or values, the one being edited selected, and the "+" cell as a button.
class ColorListAccessible : public QAccessibleWidget {
public:
    explicit ColorListAccessible(QWidget* strip);
    ~ColorListAccessible() override;

    // Registers the interface for every strip; once is enough.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    ColorListPicker2* strip() const;

private:
    mutable QVector<QAccessible::Id> m_cells;
};
