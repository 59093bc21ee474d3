#pragma once

#include <QLoggingCategory>

// Discovery datagrams and address changes.
Q_DECLARE_LOGGING_CATEGORY(lcDiscovery)
