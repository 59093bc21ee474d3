#pragma once

#include <QLoggingCategory>

// The colour picker and its view of the colour library.
Q_DECLARE_LOGGING_CATEGORY(lcPicker)
