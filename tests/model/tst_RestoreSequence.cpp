#include "TestEnvironment.h"

#include "RestoreSequence.h"

namespace {

// Eight scenes, scene 6 current, a configuration of two texts: the steps of a whole file.
RestoreSequence wholeFile() {
    RestoreSequence sequence;
    for (int n = 1; n <= 8; ++n)
        sequence.addScene(n, QStringLiteral("/api/v1/shows/%1").arg(n), QStringLiteral("effect=2"));
    sequence.addCurrentScene(6);
    sequence.addConfiguration(QStringLiteral("/api/v1/config"), {QStringLiteral("name=A"), QStringLiteral("&x=1")});
    return sequence;
}

// Answers every step 5 ms after it was sent, but step `failing`, which fails on every try;
// returns the time it ended.
qint64 runUntil(RestoreSequence& sequence, int failing, const QString& what, bool lastTry = false) {
    qint64 now = 0;
    for (;;) {
        qint64 until = -1;
        const RestoreSequence::Action action = sequence.next(now, &until);
        if (action == RestoreSequence::Action::Finished || action == RestoreSequence::Action::Failed)
            return now;
        if (action == RestoreSequence::Action::Wait) {
            now = until;
            continue;
        }
        sequence.sent(now);
        if (sequence.currentIndex() == failing)
            sequence.failed(now, what, lastTry);
        else
            sequence.answered(now += 5);
    }
}

} // namespace

class TestRestoreSequence : public QObject {
    Q_OBJECT

private slots:
    // One step at a time, each after the keypad answered the one before and the pauses are over;
    // a failed step goes again 5 s after it was sent, three tries in all.
    void stepsWaitForAnswersAndPauses() {
        RestoreSequence sequence = wholeFile();
        qint64 until = -1;
        QCOMPARE(sequence.next(0, &until), RestoreSequence::Action::Send);
        sequence.sent(0);
        // In flight: nothing else leaves, however long it takes.
        QCOMPARE(sequence.next(60000, &until), RestoreSequence::Action::Wait);
        QCOMPARE(until, qint64(-1));
        sequence.answered(40);
        QCOMPARE(sequence.next(339, &until), RestoreSequence::Action::Wait);
        QCOMPARE(until, qint64(340));
        QCOMPARE(sequence.next(340), RestoreSequence::Action::Send);
        QCOMPARE(sequence.currentStep().body, QStringLiteral("effect=2&apply=1"));

        // Three tries, spaced from their sending, whenever each one ends.
        sequence.sent(340);
        sequence.failed(345, QStringLiteral("refused the connection"));
        QCOMPARE(sequence.next(345, &until), RestoreSequence::Action::Wait);
        QCOMPARE(until, qint64(5340));
        sequence.sent(5340);
        sequence.failed(10340, QStringLiteral("did not answer within 5 s"));
        QCOMPARE(sequence.next(10340), RestoreSequence::Action::Send);
        sequence.sent(10340);
        QCOMPARE(sequence.tries(), 3);
        sequence.answered(10350);
        QCOMPARE(sequence.tries(), 0);
        QCOMPARE(sequence.next(10649), RestoreSequence::Action::Wait);
        QCOMPARE(sequence.currentStep().path, QStringLiteral("/api/v1/shows/2"));

        // A whole run: the last pause is kept before it is over.
        RestoreSequence whole = wholeFile();
        const qint64 end = runUntil(whole, -1, QString());
        QCOMPARE(whole.next(end), RestoreSequence::Action::Finished);
        // 8 × (300 + 300) + 300 + 300 + 2 × 500, and 5 ms for each of the 19 answers.
        QCOMPARE(end, qint64(8 * 600 + 600 + 1000 + 19 * 5));

        RestoreSequence given = wholeFile();
        // Tried at once, then twice more 5 s apart.
        QCOMPARE(runUntil(given, 7, QStringLiteral("did not answer within 5 s")), qint64(7 * 305 + 10000));
        QVERIFY(given.hasFailed());
        QCOMPARE(given.failureMessage(QStringLiteral("10.77.0.2")),
                 QStringLiteral("The keypad at 10.77.0.2 did not answer within 5 s while scene 4 of 8 was being "
                                "written. Scenes 1 to 3 were written; scenes 4 to 8 and the configuration were not."));
    }

    void accountSaysWhatArrived_data() {
        QTest::addColumn<QList<int>>("scenes");
        QTest::addColumn<int>("failing");
        QTest::addColumn<bool>("lastTry");
        QTest::addColumn<QString>("message");
        const QList<int> all{1, 2, 3, 4, 5, 6, 7, 8};
        QTest::newRow("first request") << all << 0 << false
                                       << "The keypad at K refused the connection while scene 1 of 8 was being "
                                          "written. Scenes 1 to 8 and the configuration were not written.";
        QTest::newRow("second scene written, not saved")
            << all << 3 << false
            << "The keypad at K refused the connection while scene 2 of 8 was being written. Scene 1 was written; "
               "scenes 2 to 8 and the configuration were not.";
        QTest::newRow("two left") << all << 13 << false
                                  << "The keypad at K refused the connection while scene 7 of 8 was being written. "
                                     "Scenes 1 to 6 were written; scenes 7 and 8 and the configuration were not.";
        QTest::newRow("current scene")
            << all << 16 << true
            << "The keypad at K refused the connection while scene 6 was being made the current scene. Scenes 1 to 8 "
               "were written; the current scene and the configuration were not.";
        QTest::newRow("configuration") << all << 17 << false
                                       << "The keypad at K refused the connection while the configuration was being "
                                          "written. Scenes 1 to 8 were written; the configuration was not.";
        QTest::newRow("second configuration text")
            << all << 18 << false
            << "The keypad at K refused the connection while the configuration was being written. Scenes 1 to 8 were "
               "written; the configuration was written only in part.";
        QTest::newRow("scattered scenes")
            << QList<int>{1, 2, 5, 7} << 5 << false
            << "The keypad at K refused the connection while scene 5 of 4 was being written. Scenes 1 and 2 were "
               "written; scenes 5 and 7 and the configuration were not.";
    }

    void accountSaysWhatArrived() {
        QFETCH(QList<int>, scenes);
        QFETCH(int, failing);
        QFETCH(bool, lastTry);
        QFETCH(QString, message);
        RestoreSequence sequence;
        for (int n : scenes)
            sequence.addScene(n, QStringLiteral("/api/v1/shows/%1").arg(n), QStringLiteral("effect=1"));
        if (scenes.size() == 8)
            sequence.addCurrentScene(6);
        sequence.addConfiguration(QStringLiteral("/api/v1/config"), {QStringLiteral("a=1"), QStringLiteral("b=2")});
        runUntil(sequence, failing, QStringLiteral("refused the connection"), lastTry);
        // A step given up at once is not tried three times.
        QCOMPARE(sequence.tries(), lastTry ? 1 : 3);
        QCOMPARE(sequence.failureMessage(QStringLiteral("K")), message);
    }
};

LUMETTO_TEST_MAIN_CORE(TestRestoreSequence, "tst_RestoreSequence")
#include "tst_RestoreSequence.moc"
