#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    Q_INIT_RESOURCE(app_resources);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setApplicationName(QStringLiteral("Lumetto Keypad Effect Manager"));

    QMainWindow window;
    window.setWindowTitle(QApplication::translate("MainWindow", "Lumetto Keypad Effect Manager"));
    window.resize(970, 663);
    window.show();
    return app.exec();
}
