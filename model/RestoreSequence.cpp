#include "RestoreSequence.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

const QString ScenePathPrefix = QStringLiteral("/api/v1/shows/");
const QString Apply = QStringLiteral("&apply=1");

// "a", "a and b", "a, b and c".
QString joined(const QStringList& items) {
    if (items.size() < 2)
        return items.value(0);
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + RestoreSequence::tr(" and ") + items.last();
}

// "scene 4", "scenes 7 and 8", "scenes 4 to 8", "scenes 1, 2 and 5": runs of three or more as ranges.
QString sceneList(QList<int> scenes) {
    std::sort(scenes.begin(), scenes.end());
    QStringList parts;
    for (int i = 0; i < scenes.size();) {
        int end = i;
        while (end + 1 < scenes.size() && scenes.at(end + 1) == scenes.at(end) + 1)
            ++end;
        if (end - i >= 2) {
            parts << RestoreSequence::tr("%1 to %2").arg(scenes.at(i)).arg(scenes.at(end));
        } else {
            for (int k = i; k <= end; ++k)
                parts << QString::number(scenes.at(k));
        }
        i = end + 1;
    }
    return scenes.size() == 1 ? RestoreSequence::tr("scene %1").arg(joined(parts))
                              : RestoreSequence::tr("scenes %1").arg(joined(parts));
}

bool plural(const QStringList& items, const QList<int>& scenes) {
    return items.size() > 1 || scenes.size() > 1;
}

QString capitalised(QString text) {
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

} // namespace

void RestoreSequence::readBackOnly(int index) {
    for (int i = 0; i < m_steps.size(); ++i) {
        if (m_steps.at(i).path.startsWith(ScenePathPrefix))
            m_steps[i].readReply = i == index;
    }
}

void RestoreSequence::addScene(int scene, const QString& path, const QString& body) {
    Step select;
    select.scene = scene;
    select.path = ScenePathPrefix + QString::number(scene);
    select.pauseAfterMs = ScenePauseMs;
    m_steps << select;

    Step write = select;
    write.post = true;
    write.path = path;
    write.body = body + Apply;
    m_steps << write;
    m_done << false << false;
    // The last reply from a scene path names the scene the keypad plays in the end.
    readBackOnly(m_steps.size() - 1);
}

void RestoreSequence::addCurrentScene(int scene) {
    Step step;
    step.part = Part::CurrentScene;
    step.scene = scene;
    step.path = ScenePathPrefix + QString::number(scene);
    step.pauseBeforeMs = ScenePauseMs;
    m_steps << step;
    m_done << false;
    readBackOnly(m_steps.size() - 1);
}

void RestoreSequence::addConfiguration(const QString& path, const QStringList& texts) {
    for (int i = 0; i < texts.size(); ++i) {
        Step step;
        step.part = Part::Configuration;
        step.post = true;
        step.path = path;
        step.body = texts.at(i) + Apply;
        // Only the last reply is read back.
        step.readReply = i == texts.size() - 1;
        step.pauseBeforeMs = i == 0 ? ScenePauseMs : 0;
        step.pauseAfterMs = ConfigurationPauseMs;
        m_steps << step;
        m_done << false;
    }
}

QStringList RestoreSequence::paths() const {
    QStringList paths;
    for (const Step& step : m_steps) {
        if (!paths.contains(step.path))
            paths << step.path;
    }
    return paths;
}

RestoreSequence::Action RestoreSequence::next(qint64 now, qint64* until) const {
    qint64 at = -1;
    Action action = Action::Wait;
    if (m_failed) {
        action = Action::Failed;
    } else if (m_inFlight) {
        action = Action::Wait;
    } else if (m_current >= m_steps.size()) {
        at = m_readyAt;
        action = now >= at ? Action::Finished : Action::Wait;
    } else {
        // A step tried before waits for its spacing; a new one for the pauses after the one before.
        at = m_tries == 0 ? m_readyAt + currentStep().pauseBeforeMs : m_lastSentAt + TrySpacingMs;
        action = now >= at ? Action::Send : Action::Wait;
    }
    if (until)
        *until = action == Action::Wait ? at : -1;
    return action;
}

void RestoreSequence::sent(qint64 now) {
    ++m_tries;
    m_lastSentAt = now;
    m_inFlight = true;
}

void RestoreSequence::answered(qint64 now) {
    m_inFlight = false;
    m_done[m_current] = true;
    m_readyAt = now + currentStep().pauseAfterMs;
    ++m_current;
    m_tries = 0;
}

void RestoreSequence::failed(qint64 now, const QString& what, bool lastTry) {
    Q_UNUSED(now)
    m_inFlight = false;
    m_what = what;
    if (lastTry || m_tries >= Tries)
        m_failed = true;
}

QString RestoreSequence::during() const {
    const Step& step = currentStep();
    switch (step.part) {
    case Part::Scene: {
        const int scenes =
            int(std::count_if(m_steps.cbegin(), m_steps.cend(), [](const Step& s) { return s.part == Part::Scene; })) /
            2;
        return tr("scene %1 of %2 was being written").arg(step.scene).arg(scenes);
    }
    case Part::CurrentScene:
        return tr("scene %1 was being made the current scene").arg(step.scene);
    case Part::Configuration:
        break;
    }
    return tr("the configuration was being written");
}

QString RestoreSequence::failureMessage(const QString& address) const {
    return tr("The keypad at %1 %2 while %3.").arg(address, m_what, during()) + QLatin1Char(' ') + account();
}

QString RestoreSequence::account() const {
    QList<int> writtenScenes, missingScenes;
    int configurationTexts = 0, configurationWritten = 0;
    bool currentMissing = false;
    for (int i = 0; i < m_steps.size(); ++i) {
        const Step& step = m_steps.at(i);
        if (step.part == Part::Scene && step.post) {
            (m_done.at(i) ? writtenScenes : missingScenes) << step.scene;
        } else if (step.part == Part::CurrentScene) {
            currentMissing = currentMissing || !m_done.at(i);
        } else if (step.part == Part::Configuration) {
            ++configurationTexts;
            configurationWritten += m_done.at(i) ? 1 : 0;
        }
    }

    QStringList written, missing;
    if (!writtenScenes.isEmpty())
        written << sceneList(writtenScenes);
    if (configurationTexts > 0 && configurationWritten == configurationTexts)
        written << tr("the configuration");
    if (!missingScenes.isEmpty())
        missing << sceneList(missingScenes);
    // Which scene plays matters only once every scene is there.
    if (currentMissing && missingScenes.isEmpty())
        missing << tr("the current scene");
    if (configurationTexts > 0 && configurationWritten == 0)
        missing << tr("the configuration");

    QStringList clauses;
    if (!written.isEmpty())
        clauses << joined(written) + (plural(written, writtenScenes) ? tr(" were written") : tr(" was written"));
    if (!missing.isEmpty()) {
        const bool many = plural(missing, missingScenes);
        if (written.isEmpty())
            clauses << joined(missing) + (many ? tr(" were not written") : tr(" was not written"));
        else
            clauses << joined(missing) + (many ? tr(" were not") : tr(" was not"));
    }
    if (configurationWritten > 0 && configurationWritten < configurationTexts)
        clauses << tr("the configuration was written only in part");
    return capitalised(clauses.join(QStringLiteral("; "))) + QLatin1Char('.');
}
