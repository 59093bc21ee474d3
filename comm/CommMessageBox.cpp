#include "CommMessageBox.h"

#include "CommLog.h"

#include <QApplication>
#include <QMessageBox>
#include <QtDebug>

namespace {

CommMessageBox::Handler& handler() {
    static CommMessageBox::Handler current;
    return current;
}

} // namespace

void CommMessageBox::critical(const QString& title, const QString& text) {
    if (handler()) {
        handler()(title, text);
        return;
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMessageBox::critical(QApplication::activeWindow(), title, text, QMessageBox::Ok);
        return;
    }
    qCCritical(lcComm).noquote() << title << text;
}

void CommMessageBox::setHandler(Handler newHandler) {
    handler() = std::move(newHandler);
}
