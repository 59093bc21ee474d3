#include "ColorTextField.h"

#include <QKeyEvent>
#include <QToolTip>

namespace ZelColorPickerLib {

namespace {

const QString RefusedStyle =
    QStringLiteral("QLineEdit { border: 1px solid rgb(196, 32, 32); background-color: rgb(255, 232, 232); }");

} // namespace

ColorTextField::ColorTextField(QWidget* parent)
    : QLineEdit(parent) {
    setObjectName(QStringLiteral("colorTextField"));
    setPlaceholderText(QStringLiteral("#rrggbb"));
    setToolTip(usage());
    // Room for "255, 255, 255" and no more: the field shares its row with the zoom control.
    setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("255, 255, 255")) + 16);
    connect(this, &QLineEdit::editingFinished, this, &ColorTextField::take);
    display(m_rgb[0], m_rgb[1], m_rgb[2]);
}

QString ColorTextField::usage() {
    return tr("Type a color as #rrggbb, rrggbb or r, g, b and press Return");
}

void ColorTextField::setColor(const ZelColor& color) {
    const ZelColor rgb = color.convertTo(ZelColor::Rgb);
    display(rgb.red8(), rgb.green8(), rgb.blue8());
}

void ColorTextField::display(int red, int green, int blue) {
    m_rgb[0] = red;
    m_rgb[1] = green;
    m_rgb[2] = blue;
    if (!m_refusal.isEmpty()) {
        m_refusal.clear();
        setStyleSheet(QString());
        setToolTip(usage());
    }
    setText(RgbText::format(red, green, blue, m_form));
    setModified(false);
}

void ColorTextField::take() {
    // Leaving an untouched field, or one already refused, is no new entry.
    if (!isModified())
        return;
    setModified(false);
    const RgbText::Result typed = RgbText::parse(text());
    if (!typed.ok) {
        refuse(typed.error);
        return;
    }
    m_form = typed.form;
    const bool changed = typed.red != m_rgb[0] || typed.green != m_rgb[1] || typed.blue != m_rgb[2];
    display(typed.red, typed.green, typed.blue);
    if (changed)
        emit colorEntered(ZelColor::fromRgb8(typed.red, typed.green, typed.blue, 255, 0));
}

void ColorTextField::refuse(const QString& why) {
    m_refusal = why;
    setStyleSheet(RefusedStyle);
    setToolTip(why);
    QToolTip::showText(mapToGlobal(QPoint(0, height())), why, this);
}

void ColorTextField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && (isModified() || !m_refusal.isEmpty())) {
        display(m_rgb[0], m_rgb[1], m_rgb[2]);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace ZelColorPickerLib
