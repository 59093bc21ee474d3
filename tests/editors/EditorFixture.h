#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <memory>

class RecordingHttpServer;

// A recording keypad at the editor's own address, the REST client pointed at it and wired to the
// scene model as the main window wires it, and a source of heartbeats that keeps it connected.
class EditorFixture : public QObject {
    Q_OBJECT

public:
    static const QString KeypadAddress;
    static constexpr int Generous = 15000;

    EditorFixture();
    ~EditorFixture() override;

    // False (with the reason logged) when the keypad port or the HTTP port could not be taken.
    bool start();

    // Every request the REST client sent, as "METHOD path body".
    QStringList requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    // Waits for at least count requests; the list is then compared exactly.
    bool waitForRequests(int count) const;
    // Waits until every reply came in, so no request of one test spills into the next.
    static bool waitIdle();

    // Scene i gets its path and a default effect of kinds.at(i), none unsaved; the active index is
    // set quietly.
    static void resetScenes(const QList<int>& kinds, int activeIndex);

    // Heartbeats as a keypad sends them, or none (then the periodic check may change the state).
    void keepConnected(bool on);

private:
    std::unique_ptr<RecordingHttpServer> m_server;
    QStringList m_requests;
    QTimer m_heartBeats;
};
