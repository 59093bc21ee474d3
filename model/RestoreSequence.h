#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// The requests that write a document to a keypad, in the document's order and with the keypad's
// pauses between them, and the decisions of running them: one step at a time, each one sent again
// after a failure until its tries are used up, and in the end an account of what reached the
// keypad and what did not. Times are ms on any steady clock that starts at 0 with the run.
class RestoreSequence final {
    Q_DECLARE_TR_FUNCTIONS(RestoreSequence)

public:
    enum class Part { Scene, CurrentScene, Configuration };

    struct Step {
        Part part = Part::Scene;
        int scene = 0; // 1 to 8 for scene steps
        bool post = false;
        QString path;
        QString body;
        // Whether the keypad's reply is read into the models.
        bool readReply = false;
        // The pauses around the step; the next step starts no sooner than this one was answered
        // and both pauses are over.
        int pauseBeforeMs = 0;
        int pauseAfterMs = 0;
    };

    static constexpr int ScenePauseMs = 300;
    static constexpr int ConfigurationPauseMs = 500;
    static constexpr int Tries = 3;
    static constexpr int TrySpacingMs = 5000;

    // Selects scene (1-8) on the keypad, then writes and saves body there.
    void addScene(int scene, const QString& path, const QString& body);
    // Makes scene the one the keypad plays.
    void addCurrentScene(int scene);
    void addConfiguration(const QString& path, const QStringList& texts);

    const QList<Step>& steps() const { return m_steps; }
    bool isEmpty() const { return m_steps.isEmpty(); }
    QStringList paths() const;

    enum class Action { Send, Wait, Finished, Failed };
    // What to do at now; with Wait, *until says when to ask again (-1: when the step is answered).
    Action next(qint64 now, qint64* until = nullptr) const;
    const Step& currentStep() const { return m_steps.at(m_current); }
    int currentIndex() const { return m_current; }
    int tries() const { return m_tries; }
    void sent(qint64 now);
    void answered(qint64 now);
    // what: what happened, in words that follow "the keypad at 10.77.0.2". With lastTry the step
    // is not sent again.
    void failed(qint64 now, const QString& what, bool lastTry = false);
    bool hasFailed() const { return m_failed; }

    // "The keypad at A did not answer within 5 s while scene 4 of 8 was being written. Scenes 1 to
    // 3 were written; scenes 4 to 8 and the configuration were not."
    QString failureMessage(const QString& address) const;
    // What was written and what was not, in one sentence.
    QString account() const;

private:
    void readBackOnly(int index);
    QString during() const;

    QList<Step> m_steps;
    QList<bool> m_done;
    int m_current = 0;
    int m_tries = 0;
    bool m_inFlight = false;
    bool m_failed = false;
    qint64 m_lastSentAt = 0;
    qint64 m_readyAt = 0;
    QString m_what;
};
