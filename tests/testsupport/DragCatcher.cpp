#include "DragCatcher.h"

#include <QChildEvent>
#include <QDrag>
#include <QMimeData>

bool DragCatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ChildAdded) {
        static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
    } else if (event->type() == QEvent::DeferredDelete) {
        if (auto* drag = qobject_cast<QDrag*>(watched); drag && drag->mimeData() && m_data.isEmpty()) {
            for (const QString& format : drag->mimeData()->formats())
                m_data.insert(format, drag->mimeData()->data(format));
        }
    }
    return false;
}
