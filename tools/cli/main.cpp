#include "KeypadCli.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumetto Keypad Effect Manager"));
    KeypadCli cli;
    return cli.run(app.arguments().mid(1));
}
