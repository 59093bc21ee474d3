#pragma once

#include "RgbText.h"
#include "ZelColor.h"

#include <QLineEdit>

namespace ZelColorPickerLib {

/**
 * The RGB page's text entry. It shows the current colour as "#RRGGBB", or as "r, g, b" once the
 * user typed that form, and takes a colour typed in either form (RgbText) on Return or when the
 * field is left. Text that is no colour is refused: the field is marked and says why, and no
 * colour leaves it; Escape puts the current colour back.
 */
class ColorTextField : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY(ColorTextField)

public:
    explicit ColorTextField(QWidget* parent = nullptr);

    /** Shows @p color's 8-bit red, green and blue and lifts a refusal. */
    void setColor(const ZelColor& color);
    /** Why the typed text was refused; empty while the field shows a colour. */
    QString refusal() const { return m_refusal; }

signals:
    /** A typed colour other than the one shown, opaque. */
    void colorEntered(ZelColor color);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    static QString usage();
    void take();
    void display(int red, int green, int blue);
    void refuse(const QString& why);

    int m_rgb[3] = {255, 255, 255};
    RgbText::Form m_form = RgbText::Form::Hex;
    QString m_refusal;
};

} // namespace ZelColorPickerLib
