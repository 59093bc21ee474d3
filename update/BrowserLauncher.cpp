#include "BrowserLauncher.h"

#include "UpdateLog.h"

#include <QDebug>
#include <QDesktopServices>

namespace {

BrowserLauncher::Handler& handler() {
    static BrowserLauncher::Handler instance;
    return instance;
}

} // namespace

bool BrowserLauncher::open(const QUrl& url) {
    const bool opened = handler() ? handler()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        qCWarning(lcUpdate) << "Update: could not open" << url.toDisplayString() << "in the browser";
    return opened;
}

void BrowserLauncher::setHandler(Handler newHandler) {
    handler() = std::move(newHandler);
}
