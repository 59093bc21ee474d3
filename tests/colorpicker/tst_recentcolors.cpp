#include "RecentColors.h"
#include "TestEnvironment.h"

#include <QSettings>
#include <QSignalSpy>
#include <memory>

using namespace ZelColorPickerLib;

namespace {

ZelColor grey(int level) {
    return ZelColor::fromRgb8(level, level, level);
}

QList<ZelColor> greys(std::initializer_list<int> levels) {
    QList<ZelColor> colors;
    for (int level : levels)
        colors << grey(level);
    return colors;
}

// Far enough apart that no two count as one run.
constexpr qint64 Apart = RecentColors::MergeWindowMs;

} // namespace

class TestRecentColors : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void mostRecentFirstEachOnceAtMostTen() {
        RecentColors recent;
        QSignalSpy changes(&recent, &RecentColors::changed);
        qint64 now = 0;
        for (int i = 1; i <= 12; ++i)
            recent.add(grey(i), now += Apart);
        QCOMPARE(recent.colors(), greys({12, 11, 10, 9, 8, 7, 6, 5, 4, 3}));
        QCOMPARE(changes.count(), 12);
        // Sent again, a colour moves to the front instead of coming twice.
        recent.add(grey(7), now += Apart);
        QCOMPARE(recent.colors(), greys({7, 12, 11, 10, 9, 8, 6, 5, 4, 3}));
        // The colour already in front changes nothing; an empty colour is no colour.
        recent.add(grey(7), now += Apart);
        recent.add(ZelColor(), now += Apart);
        QCOMPARE(changes.count(), 13);
        QCOMPARE(recent.colors().size(), RecentColors::MaximumCount);
    }

    void aQuickRunCountsAsItsLastColour() {
        RecentColors recent;
        qint64 now = 0;
        recent.add(grey(1), now += Apart);
        recent.add(grey(2), now += Apart);
        // A drag: every step is sent, only where it ended stays.
        now += Apart;
        for (int level = 100; level <= 200; level += 10)
            recent.add(grey(level), now += 16);
        QCOMPARE(recent.colors(), greys({200, 2, 1}));
        // A run that passes over a colour of the list leaves it where it was.
        recent.add(grey(1), now += Apart);
        recent.add(grey(50), now += 100);
        QCOMPARE(recent.colors(), greys({50, 200, 2, 1}));
        // A pause ends the run.
        recent.add(grey(60), now += Apart);
        QCOMPARE(recent.colors(), greys({60, 50, 200, 2, 1}));
    }

    void keptAcrossRuns() {
        qint64 now = 0;
        auto first = std::make_unique<RecentColors>();
        for (int i = 1; i <= 11; ++i)
            first->add(grey(i), now += Apart);
        ZelColor white;
        white.setYxyF(0.5, 0.38, 0.38);
        first->add(white, now += Apart);
        // The last colour of a run not yet written reaches the settings when the program ends.
        first->add(grey(99), now += 10);
        const QList<ZelColor> before = first->colors();
        first.reset();
        RecentColors second;
        QCOMPARE(second.colors(), before);
        QCOMPARE(second.colors().first(), grey(99));
        QCOMPARE(second.colors().size(), RecentColors::MaximumCount);
        second.clear();
        QVERIFY(RecentColors().colors().isEmpty());
    }

    void damagedSettingsAreCleanedUp() {
        QStringList stored = {grey(1).aName(), QStringLiteral("no colour"), grey(1).aName(), QString()};
        for (int i = 2; i <= 20; ++i)
            stored << grey(i).aName();
        QSettings().setValue(RecentColors::SettingsKey, stored);
        // Each dropped entry is named in the log.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("unreadable colour text")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no colour: \"no colour\"")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no colour: \"\"")));
        QCOMPARE(RecentColors().colors(), greys({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        QSettings().setValue(RecentColors::SettingsKey, QVariantMap{{QStringLiteral("a"), 1}});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("unreadable recent colours")));
        QVERIFY(RecentColors().colors().isEmpty());
    }
};

LUMETTO_TEST_MAIN_CORE(TestRecentColors, "tst_recentcolors")
#include "tst_recentcolors.moc"
