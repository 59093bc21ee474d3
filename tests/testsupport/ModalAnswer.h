#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class QWidget;

// Answers modal dialogs as a user would, from the event loop while they run: each handler gets
// the next modal widget that shows, in turn, and clicks or types in it.
//
//     ModalAnswer answer({[](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }});
//     window.handleRestore();
//     QCOMPARE(answer.answered(), 1);
class ModalAnswer : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(ModalAnswer)

public:
    using Handler = std::function<void(QWidget* dialog)>;
    explicit ModalAnswer(const QList<Handler>& handlers, QObject* parent = nullptr);

    int answered() const { return m_answered; }

private:
    void look();

    QList<Handler> m_handlers;
    QTimer m_timer;
    QPointer<QWidget> m_last;
    int m_answered = 0;
};
