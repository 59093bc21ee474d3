#pragma once

#include <QUrl>
#include <functional>

// Opens a web page in the desktop's browser; tests put a handler of their own in its place.
class BrowserLauncher final {
public:
    using Handler = std::function<bool(const QUrl&)>;

    // False when the page could not be opened (logged).
    static bool open(const QUrl& url);
    // An empty handler restores the desktop's browser.
    static void setHandler(Handler handler);
};
