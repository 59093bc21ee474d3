#pragma once

#include <QFlags>
#include <QHash>
#include <QRectF>
#include <QWidget>

class QAbstractButton;
class QPainter;

// What the control panel draws over its key images, all in one place: the keyboard focus frame, and
// any mark a key carries. A transparent layer over the keys, under the panel's cover; mouse presses go
// through it to the keys.
class KeypadKeyMarks : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(KeypadKeyMarks)

public:
    enum Mark {
        FocusFrame = 0x1, // follows the key's keyboard focus by itself
        Unsaved = 0x2,    // the scene plays edits the keypad has not saved
    };
    Q_DECLARE_FLAGS(Marks, Mark)

    explicit KeypadKeyMarks(QWidget* panel);

    void addKey(QAbstractButton* key);
    // Marks other than the focus frame, which the layer keeps to itself.
    void setMark(QAbstractButton* key, Mark mark, bool on);
    Marks marks(QAbstractButton* key) const;

    // The rounded face of a key image of that size: the images leave room around it for shadow and glow.
    static QRectF keyFace(const QSize& keySize);
    // Every mark of one key, around or on its face.
    static void paintMarks(QPainter& painter, const QRectF& face, Marks marks);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QAbstractButton*> m_keys;
    QHash<const QAbstractButton*, Marks> m_marks;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(KeypadKeyMarks::Marks)
