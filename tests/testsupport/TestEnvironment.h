#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QString>
#include <QtTest>
#include <cstdio>

namespace TestSupport {

// Keeps a test away from the user's own settings and data: Qt's test locations, and an
// organization of the test's own so two tests never share a settings file.
void isolate(const QString& organization);

// True inside the private network namespace that scripts/netns-run makes.
bool insideNetworkNamespace();

// Where the build put the programs (lumetto-keypad-sim and the like).
QString binDir();
QString sourceDir();

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
