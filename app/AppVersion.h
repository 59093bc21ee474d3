#pragma once

#include "ProgramVersion.h"

#include <QString>

// The version the program shows in its splash, about box and status bar.
namespace AppVersion {
inline QString text() {
    return QString::fromLatin1(ProgramVersion::majorMinor);
}
constexpr int buildDate = 20131127;
inline QString buildNumber() {
    return QStringLiteral("196");
}
} // namespace AppVersion
