#pragma once

#include <QLoggingCategory>

// Documents, scenes and effects: reading, writing and what they leave out.
Q_DECLARE_LOGGING_CATEGORY(lcModel)
