#pragma once

#include <QLoggingCategory>

// The keypad link: requests and replies, heartbeats, scene notices, discovery.
Q_DECLARE_LOGGING_CATEGORY(lcComm)
