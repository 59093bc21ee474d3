#pragma once

#include <QString>

// The tool's help: the usage of all commands, and each command's own page with an example and
// its exit statuses (what --help prints and the manual is made from).
class CliHelp final {
public:
    static QString usage();
    // Empty for a command the tool does not have.
    static QString command(const QString& name);
};
