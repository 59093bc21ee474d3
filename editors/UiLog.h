#pragma once

#include <QLoggingCategory>

// The windows and editors; the main window logs here too.
Q_DECLARE_LOGGING_CATEGORY(lcUi)
