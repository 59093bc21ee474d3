#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QString>
#include <QtTest>
#include <cstdio>

class QMimeData;
class QSpinBox;

namespace TestSupport {

// Keeps a test away from the user's own settings and data: Qt's test locations, and an
// organization of the test's own so two tests never share a settings file.
void isolate(const QString& organization);

// True inside the private network namespace that scripts/netns-run makes.
bool insideNetworkNamespace();

// Where the build put the programs (lumetto-keypad-sim and the like).
QString binDir();
QString sourceDir();

// A file's whole contents, or nothing when it cannot be read.
QByteArray readFile(const QString& path);
// Writes the file whole; false when it could not.
bool writeFile(const QString& path, const QByteArray& contents);

// Keeps a picture for a person to look at, when LUMETTO_SCREENSHOT_DIR names a folder.
void keepPicture(const QImage& image, const QString& name);
void keepPicture(QWidget* widget, const QString& name);

// Types a number into a spin box and finishes it with Enter, as a user does.
void typeInto(QSpinBox* spinBox, const QString& text);
inline void typeInto(QSpinBox* spinBox, int value) {
    typeInto(spinBox, QString::number(value));
}

// The widget's path of object names (class names where it has none), for failure messages.
QString describe(const QWidget* widget);

// Mean difference per channel of two pictures of the same size, as they would be drawn
// (premultiplied); 255 for pictures of different sizes.
double meanDifference(const QImage& first, const QImage& second);

// Drags the data onto the widget at the point and drops it there, as Qt delivers a drag: enter,
// a move (taken unless the widget refuses it) and the drop. Answers the step the widget refused,
// or QEvent::None when it took the drop.
QEvent::Type drop(QWidget* widget, QMimeData* data, const QPoint& at, Qt::DropActions actions = Qt::CopyAction);

// A turn of the mouse wheel over the point (the middle by default); answers whether the widget took it.
bool wheel(QWidget* widget, int delta, QPoint at = QPoint(-1, -1));

// Which of Save ("applyButton") and Undo ("revertButton") an editor offers: "save undo", "undo", "".
QString offered(const QWidget* editor);

template <typename T>
T* child(const QObject* parent, const char* name) {
    return parent->findChild<T*>(QLatin1String(name));
}

// A full disk, as far as this process can tell: while it lives, no file grows past the given
// size and a write beyond it fails instead of raising SIGXFSZ.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    bool active() const { return m_active; }

private:
    Q_DISABLE_COPY(FileSizeLimit)
    unsigned long long m_previousLimit = 0;
    void (*m_previousHandler)(int) = nullptr;
    bool m_saved = false;
    bool m_active = false;
};

} // namespace TestSupport

// Like QTEST_MAIN, with the settings isolated first.
#define LUMETTO_TEST_MAIN(TestObject, Organization)                                                                    \
    int main(int argc, char* argv[]) {                                                                                 \
        QApplication app(argc, argv);                                                                                  \
        TestSupport::isolate(QStringLiteral(Organization));                                                            \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }

#define LUMETTO_TEST_MAIN_CORE(TestObject, Organization)                                                               \
    int main(int argc, char* argv[]) {                                                                                 \
        QCoreApplication app(argc, argv);                                                                              \
        TestSupport::isolate(QStringLiteral(Organization));                                                            \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }

// For tests that open sockets: they run only inside a private network namespace, and say they
// were skipped (exit 77, which CTest reports as skipped) anywhere else.
#define LUMETTO_NETWORK_TEST_MAIN(TestObject, Organization, AppClass)                                                  \
    int main(int argc, char* argv[]) {                                                                                 \
        if (!TestSupport::insideNetworkNamespace()) {                                                                  \
            fprintf(stderr, "SKIPPED: this test opens sockets and runs only inside scripts/netns-run\n");              \
            return 77;                                                                                                 \
        }                                                                                                              \
        AppClass app(argc, argv);                                                                                      \
        TestSupport::isolate(QStringLiteral(Organization));                                                            \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
