#include "MSPSceneSettingsWidget.h"

#include "ConnectionState.h"
#include "MSPComm.h"
#include "MSPEffect.h"
#include "MSPEffectFactory.h"
#include "MSPEffectWidget.h"
#include "MSPEffectWidgetFactory.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"
#include "UiLog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QtDebug>

namespace {

// The texts keep the context of the form they were first laid out in.
struct MSPSceneSettings {
    Q_DECLARE_TR_FUNCTIONS(MSPSceneSettings)
};

constexpr int ButtonHeight = 23;
const QSize FormMinimum(560, 570);
// The window's height is fixed to the control panel's, and where the menu, dock title, tab and
// status bars are taller than the keypad plate leaves room for, a 490-pixel stack would be
// pushed under Undo and Save. The form's own minimum keeps a floating dock usable.
const QSize StackMinimum(515, 440);

void fillKinds(QComboBox* box) {
    for (int kind = 0; kind < MSPEffect::typeCount; ++kind)
        box->addItem(MSPEffect::nameForType(kind));
}

} // namespace

MSPSceneSettingsWidget::MSPSceneSettingsWidget(QWidget* parent)
    : QWidget(parent)
    , m_model(MSPSceneModel::instance()) {
    buildForm();

    connect(m_model, &MSPSceneModel::activeSceneChangedEffect, this,
            &MSPSceneSettingsWidget::handleActiveSceneChangedEffect);
    connect(m_model, &MSPSceneModel::unsavedChanged, this, [this](int index, bool unsaved) {
        if (index == m_shownScene && connected())
            setButtonsEnabled(unsaved);
    });
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        MSPScene* scene = m_model->scene(i);
        if (!scene)
            continue;
        connect(scene, &MSPScene::effectChanged, this, &MSPSceneSettingsWidget::handleSceneChangedEffect);
        connect(scene, &MSPScene::effectParamsChanged, this, &MSPSceneSettingsWidget::handleEffectParametersChanged);
    }

    // An editor is made when its kind is first shown: together they are most of the window, and
    // a user mostly meets two or three kinds. Until then an empty page holds its place.
    m_editors.fill(nullptr, MSPEffect::typeCount);
    for (int kind = 0; kind < MSPEffect::typeCount; ++kind)
        m_effectPropertiesStack->insertWidget(kind, new QWidget(m_effectPropertiesStack));
    {
        const QSignalBlocker blocker(m_effectsComboBox);
        fillKinds(m_effectsComboBox);
    }
    QMetaObject::connectSlotsByName(this);

    m_effectPropertiesStack->setCurrentIndex(0);
    // The page shown first is part of the window the user first sees, and of its size.
    ensureEditor(0);
    setSceneLabel(0);
    setButtonsEnabled(false);
    m_effectPropertiesStack->installEventFilter(this);
    updateSizes();
}

void MSPSceneSettingsWidget::updateSizes() {
    const int buttonHeight = qMax(ButtonHeight, fontMetrics().height() + 8);
    m_revertButton->setFixedHeight(buttonHeight);
    m_applyButton->setFixedHeight(buttonHeight);
    // Inner first: the form's rows include the stack's minimum.
    m_effectPropertiesStack->setMinimumSize(StackMinimum.expandedTo(m_effectPropertiesStack->layout()->minimumSize()));
    setMinimumSize(FormMinimum.expandedTo(layout()->minimumSize()));
}

bool MSPSceneSettingsWidget::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::FontChange)
        updateSizes();
    return handled;
}

bool MSPSceneSettingsWidget::eventFilter(QObject* watched, QEvent* event) {
    // An editor in the stack asks for other room.
    if (watched == m_effectPropertiesStack && event->type() == QEvent::LayoutRequest)
        updateSizes();
    return QWidget::eventFilter(watched, event);
}

void MSPSceneSettingsWidget::buildForm() {
    setObjectName(QStringLiteral("MSPSceneSettings"));
    setWindowTitle(MSPSceneSettings::tr("Form"));
    setMinimumSize(FormMinimum);
    setMaximumSize(7000, 7000);

    auto* layout = new QVBoxLayout(this);
    auto* sceneRow = new QHBoxLayout;
    m_sceneNumberLabel = new QLabel(MSPSceneSettings::tr("Scene #"), this);
    m_sceneNumberLabel->setObjectName(QStringLiteral("sceneNumberLabel"));
    QFont bold = m_sceneNumberLabel->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_sceneNumberLabel->setFont(bold);
    sceneRow->addWidget(m_sceneNumberLabel);
    sceneRow->addStretch(1);
    layout->addLayout(sceneRow);

    m_effectRow = new QHBoxLayout;
    auto* effectLabel = new QLabel(MSPSceneSettings::tr("Effect:"), this);
    effectLabel->setObjectName(QStringLiteral("effectLabel"));
    m_effectsComboBox = new QComboBox(this);
    m_effectsComboBox->setObjectName(QStringLiteral("effectsComboBox"));
    m_effectsComboBox->setMinimumWidth(180);
    m_effectsComboBox->setAccessibleName(MSPSceneSettings::tr("Effect"));
    m_effectRow->addWidget(effectLabel);
    m_effectRow->addWidget(m_effectsComboBox);
    m_effectRow->addStretch(1);
    layout->addLayout(m_effectRow);

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("line"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    m_effectPropertiesStack = new QStackedWidget(this);
    m_effectPropertiesStack->setObjectName(QStringLiteral("effectPropertiesStack"));
    m_effectPropertiesStack->setMinimumSize(StackMinimum);
    layout->addWidget(m_effectPropertiesStack, 1);

    auto* buttonRow = new QHBoxLayout;
    m_revertButton = new QPushButton(MSPSceneSettings::tr("Undo"), this);
    m_revertButton->setObjectName(QStringLiteral("revertButton"));
    m_applyButton = new QPushButton(MSPSceneSettings::tr("Save"), this);
    m_applyButton->setObjectName(QStringLiteral("applyButton"));
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_revertButton);
    buttonRow->addWidget(m_applyButton);
    layout->addLayout(buttonRow);
}

MSPEffectWidget* MSPSceneSettingsWidget::editor(int kind) const {
    return kind >= 0 && kind < m_editors.size() ? m_editors.at(kind) : nullptr;
}

MSPEffectWidget* MSPSceneSettingsWidget::ensureEditor(int kind) {
    if (kind < 0 || kind >= m_editors.size())
        return nullptr;
    if (m_editors.at(kind))
        return m_editors.at(kind);
    // Made apart and then placed: made inside the shown window, its parts would be announced to
    // screen readers half-built, and keep the nameless stand-ins accessibility makes for them.
    MSPEffectWidget* made = MSPEffectWidgetFactory::instance()->create(kind, nullptr);
    if (!made) {
        qWarning() << "no editor for effects of kind" << kind;
        return nullptr;
    }
    // The form's margins frame the editors; their own would indent them twice.
    if (made->layout())
        made->layout()->setContentsMargins(0, 0, 0, 0);
    QWidget* placeholder = m_effectPropertiesStack->widget(kind);
    const bool current = m_effectPropertiesStack->currentIndex() == kind;
    m_effectPropertiesStack->insertWidget(kind, made);
    m_effectPropertiesStack->removeWidget(placeholder);
    delete placeholder;
    if (current)
        m_effectPropertiesStack->setCurrentIndex(kind);
    connect(made, &MSPEffectWidget::intermediateChange, this, &MSPSceneSettingsWidget::handleIntermediateChange);
    connect(made, &MSPEffectWidget::intermediateChangeFinished, this,
            &MSPSceneSettingsWidget::handleIntermediateChangeFinished);
    m_editors[kind] = made;
    return made;
}

bool MSPSceneSettingsWidget::connected() {
    return ConnectionState::instance()->state() == ConnectionState::Connected;
}

void MSPSceneSettingsWidget::setSceneLabel(int index) {
    m_sceneNumberLabel->setText(tr("Scene: ") + QString::number(index + 1));
}

void MSPSceneSettingsWidget::setButtonsEnabled(bool enabled) {
    m_revertButton->setEnabled(enabled);
    m_applyButton->setEnabled(enabled);
}

void MSPSceneSettingsWidget::showKind(int kind) {
    ensureEditor(kind);
    m_effectPropertiesStack->setCurrentIndex(kind);
    const QSignalBlocker blocker(m_effectsComboBox);
    m_effectsComboBox->setCurrentIndex(kind);
}

void MSPSceneSettingsWidget::showEvent(QShowEvent* event) {
    ensureEditor(m_effectPropertiesStack->currentIndex());
    // The box is rebuilt on every show; the new one keeps the name, the index and the enabled state.
    const int current = m_effectsComboBox->currentIndex();
    const int position = m_effectRow->indexOf(m_effectsComboBox);
    QComboBox* old = m_effectsComboBox;
    QWidget* before = old->previousInFocusChain();
    old->hide();
    m_effectRow->removeWidget(old);
    old->setObjectName(QString());
    old->disconnect(this);
    old->deleteLater();

    m_effectsComboBox = new QComboBox(this);
    m_effectsComboBox->setObjectName(QStringLiteral("effectsComboBox"));
    m_effectsComboBox->setMinimumWidth(old->minimumWidth());
    m_effectsComboBox->setAccessibleName(MSPSceneSettings::tr("Effect"));
    m_effectRow->insertWidget(position, m_effectsComboBox);
    // Tab reaches the new box where it reached the old one, not after Save.
    setTabOrder(before, m_effectsComboBox);
    {
        const QSignalBlocker blocker(m_effectsComboBox);
        fillKinds(m_effectsComboBox);
        m_effectsComboBox->setCurrentIndex(current);
    }
    // Its own state, not the one inherited from a disabled window: the box made while the editor
    // waits for a keypad must come alive with the editor.
    m_effectsComboBox->setEnabled(old->isEnabledTo(this));
    m_effectsComboBox->show();
    connect(m_effectsComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MSPSceneSettingsWidget::on_effectsComboBox_currentIndexChanged);
    QWidget::showEvent(event);
}

void MSPSceneSettingsWidget::activeSceneChanged(int index) {
    setSceneLabel(index);
    m_shownScene = index;
    MSPScene* scene = m_model->scene(index);
    if (!scene || !scene->effect())
        return;
    MSPEffect* effect = scene->effect();
    showKind(effect->type());
    if (MSPEffectWidget* page = editor(effect->type())) {
        page->clearPreviousSelection();
        page->setEffect(effect);
    }
    // Edits the keypad plays but has not kept can still be saved or undone when the scene is shown
    // again.
    setButtonsEnabled(connected() && m_model->isUnsaved(index));
}

void MSPSceneSettingsWidget::handleActiveSceneChangedEffect() {
    activeSceneChanged(m_model->activeSceneIndex());
}

void MSPSceneSettingsWidget::on_effectsComboBox_currentIndexChanged(int index) {
    if (!m_model || index < 0 || index >= MSPEffect::typeCount)
        return;
    MSPScene* scene = m_model->scene(m_model->activeSceneIndex());
    ensureEditor(index);
    m_effectPropertiesStack->setCurrentIndex(index);
    if (!scene)
        return;
    if (scene->effect() && scene->effect()->type() == index)
        return;
    MSPEffect* effect = MSPEffectFactory::instance()->create(index);
    if (!effect) {
        qCWarning(lcUi) << "no effect of kind" << index;
        return;
    }
    scene->setEffect(effect, true);
}

void MSPSceneSettingsWidget::handleSceneChangedEffect(MSPScene* scene) {
    if (!scene || m_model->indexOf(scene) != m_model->activeSceneIndex())
        return;
    MSPEffect* effect = scene->effect();
    if (effect) {
        showKind(effect->type());
        if (MSPEffectWidget* page = editor(effect->type()))
            page->setEffect(effect);
    }
    if (connected())
        setButtonsEnabled(true);
}

void MSPSceneSettingsWidget::handleEffectParametersChanged(MSPScene* scene) {
    Q_UNUSED(scene)
    if (connected())
        setButtonsEnabled(true);
}

void MSPSceneSettingsWidget::handleIntermediateChange() {
    m_applyButton->setEnabled(false);
}

void MSPSceneSettingsWidget::handleIntermediateChangeFinished() {
    // The drag's last value reached the effect while Save was held back; nothing else will
    // announce it, so the scene can be saved now.
    if (connected() && m_revertButton->isEnabled())
        m_applyButton->setEnabled(true);
}

void MSPSceneSettingsWidget::on_applyButton_clicked() {
    MSPComm::instance()->applyScene(m_model->scene(m_shownScene));
    setButtonsEnabled(false);
}

void MSPSceneSettingsWidget::on_revertButton_clicked() {
    const int index = m_shownScene;
    MSPComm::instance()->revertScene(m_model->scene(index));
    MSPComm::instance()->getScene(index);
    setButtonsEnabled(false);
}

void MSPSceneSettingsWidget::clearPreviousSelection() {
    if (auto* page = qobject_cast<MSPEffectWidget*>(m_effectPropertiesStack->currentWidget()))
        page->clearPreviousSelection();
}

void MSPSceneSettingsWidget::setEnabled(bool enabled) {
    if (ConnectionState::instance()->state() == ConnectionState::OfflineDemo) {
        SystemConfiguration::instance()->setVersion(QStringLiteral("1.1.24"), true);
        for (int i = 0; i < MSPEffect::typeCount; ++i) {
            MSPScene* scene = m_model->scene(i);
            // Also editors not shown yet: a page shows the scene of its number.
            if (scene && scene->effect())
                ensureEditor(i)->setEffect(scene->effect());
        }
        setButtonsEnabled(false);
    }
    QWidget::setEnabled(enabled);
}
