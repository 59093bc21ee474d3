#pragma once

#include <QLoggingCategory>

// The update check: the version file, its download and the comparison.
Q_DECLARE_LOGGING_CATEGORY(lcUpdate)
