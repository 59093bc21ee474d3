#pragma once

#include <QString>

// The version the program shows in its splash, about box and status bar.
namespace AppVersion {
inline QString text() {
    return QStringLiteral("1.3");
}
constexpr int buildDate = 20131127;
inline QString buildNumber() {
    return QStringLiteral("196");
}
} // namespace AppVersion
