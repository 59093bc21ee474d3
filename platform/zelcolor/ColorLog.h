#pragma once

#include <QLoggingCategory>

// Colour values, fixture profiles and the colour library.
Q_DECLARE_LOGGING_CATEGORY(lcColor)
