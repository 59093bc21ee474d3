#pragma once

#include <QString>
#include <functional>

// The critical messages of device communication. A GUI run shows a modal box over the active
// window; a run without widgets (the command-line tool) logs instead; tests install a handler
// and see each message without a box blocking them.
class CommMessageBox final {
public:
    using Handler = std::function<void(const QString& title, const QString& text)>;

    static void critical(const QString& title, const QString& text);

    // An empty handler restores the default behaviour.
    static void setHandler(Handler handler);
};
