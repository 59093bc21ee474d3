#include "ColorListAccessible.h"

#include "ColorListPicker2.h"

#include <QPointer>
#include <QWindow>

namespace {

// One cell of the strip: a colour, or the "+" after the last one.
class ColorCellAccessible : public QAccessibleInterface {
public:
    ColorCellAccessible(ColorListPicker2* strip, int index)
        : m_strip(strip)
        , m_index(index) {}

    bool isValid() const override { return m_strip && m_index < m_strip->count() + (m_strip->showsPlus() ? 1 : 0); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_strip ? m_strip->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_strip.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override {
        if (!isValid())
            return QString();
        if (isPlus()) {
            return kind == QAccessible::Name ? ColorListPicker2::tr("Add a color")
                                             : ColorListPicker2::tr("Adds a copy of the last color.");
        }
        if (kind == QAccessible::Name)
            return m_strip->colorName(m_index);
        if (kind == QAccessible::Description)
            return ColorListPicker2::tr("Color %1 of %2").arg(m_index + 1).arg(m_strip->count());
        return QString();
    }

    QRect rect() const override {
        if (!isValid())
            return QRect();
        const QRect cell = m_strip->cellRect(m_index);
        return QRect(m_strip->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::Role role() const override { return isPlus() ? QAccessible::Button : QAccessible::ListItem; }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.focusable = true;
        if (!isPlus()) {
            state.selectable = true;
            state.selected = m_index == m_strip->currentIndex();
            state.focused = state.selected && m_strip->hasFocus();
        }
        return state;
    }

private:
    bool isPlus() const { return m_index == m_strip->count(); }

    QPointer<ColorListPicker2> m_strip;
    int m_index;
};

QAccessibleInterface* stripFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("ColorListPicker2") && object && object->isWidgetType())
        return new ColorListAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

ColorListAccessible::ColorListAccessible(QWidget* strip)
    : QAccessibleWidget(strip, QAccessible::List) {}

ColorListAccessible::~ColorListAccessible() {
    for (QAccessible::Id id : qAsConst(m_cells)) {
        if (id)
            QAccessible::deleteAccessibleInterface(id);
    }
}

void ColorListAccessible::install() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(stripFactory);
    }
}

ColorListPicker2* ColorListAccessible::strip() const {
    return static_cast<ColorListPicker2*>(widget());
}

int ColorListAccessible::childCount() const {
    return strip()->count() + (strip()->showsPlus() ? 1 : 0);
}

QAccessibleInterface* ColorListAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    // Cells are kept by position: the one at a place always describes whatever colour is there now.
    if (m_cells.size() <= index)
        m_cells.resize(index + 1);
    if (!m_cells[index])
        m_cells[index] = QAccessible::registerAccessibleInterface(new ColorCellAccessible(strip(), index));
    return QAccessible::accessibleInterface(m_cells[index]);
}

int ColorListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int i = 0; i < m_cells.size(); ++i) {
        if (m_cells[i] && QAccessible::accessibleInterface(m_cells[i]) == child)
            return i < childCount() ? i : -1;
    }
    return -1;
}

QAccessibleInterface* ColorListAccessible::childAt(int x, int y) const {
    const QPoint local = strip()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < childCount(); ++i) {
        if (strip()->cellRect(i).contains(local))
            return child(i);
    }
    return nullptr;
}

QAccessibleInterface* ColorListAccessible::focusChild() const {
    return strip()->hasFocus() ? child(strip()->currentIndex()) : nullptr;
}
