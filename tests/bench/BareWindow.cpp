// The reference the editor's start-up is measured against: the least a Qt widgets program
// does to put a main window on the screen.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Window"));
    window.setCentralWidget(new QLabel(QStringLiteral("A bare Qt window")));
    window.show();
    return app.exec();
}
