#include "MSPControlPanelWidget.h"

#include "KeypadKeyMarks.h"
#include "MSPComm.h"
#include "MSPEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "PlateVeil.h"
#include "ScaledPixmap.h"
#include "SceneKeyButton.h"
#include "SystemConfiguration.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The texts keep the context of the form they were first laid out in.
struct MSPControlPanel {
    Q_DECLARE_TR_FUNCTIONS(MSPControlPanel)
};

QString imagePath(int number, const char* state) {
    return QStringLiteral(":/images/images/button_%1_%2.png").arg(number).arg(QLatin1String(state));
}

// The plate's buttons, by scene index: geometry and image number (images count row by row).
struct SceneButtonForm {
    const char* name;
    QRect geometry;
    int image;
};

const SceneButtonForm SceneButtons[MSPControlPanelWidget::sceneCount] = {
    {"scene1Button", QRect(47, 36, 152, 87), 1},   {"scene2Button", QRect(47, 126, 152, 86), 3},
    {"scene3Button", QRect(47, 215, 152, 85), 5},  {"scene4Button", QRect(47, 303, 152, 86), 7},
    {"scene5Button", QRect(202, 36, 152, 87), 2},  {"scene6Button", QRect(202, 126, 152, 86), 4},
    {"scene7Button", QRect(202, 215, 152, 85), 6}, {"scene8Button", QRect(202, 303, 152, 86), 8},
};

// The form's order, which is also the order in which the buttons are stacked and tabbed through.
const int FormOrder[MSPControlPanelWidget::sceneCount] = {0, 4, 5, 6, 7, 1, 2, 3};

QString sceneButtonStyle(int image, const QSize& size) {
    // The style's own focus rectangle gives way to the panel's frame (KeypadKeyMarks).
    return QStringLiteral("QRadioButton { spacing: 0px; outline: none; }\n"
                          "QRadioButton::indicator { width: %1px; height: %2px; }\n"
                          "QRadioButton::indicator:unchecked { image: url(%3); }\n"
                          "QRadioButton::indicator:checked { image: url(%4); }\n"
                          "QRadioButton::indicator:unchecked:pressed, QRadioButton::indicator:checked:pressed "
                          "{ image: url(%5); }\n"
                          "QRadioButton::indicator:unchecked:disabled, QRadioButton::indicator:checked:disabled "
                          "{ image: url(%6); }")
        .arg(size.width())
        .arg(size.height())
        .arg(imagePath(image, "off"), imagePath(image, "on"), imagePath(image, "down"), imagePath(image, "disabled"));
}

QString pushButtonStyle(int image) {
    return QStringLiteral("QPushButton { border: 0px; outline: none; background-image: url(%1); }\n"
                          "QPushButton:pressed { background-image: url(%2); }\n"
                          "QPushButton:disabled { background-image: url(%3); }")
        .arg(imagePath(image, "off"), imagePath(image, "down"), imagePath(image, "disabled"));
}

QPushButton* plateButton(const char* name, const QRect& geometry, int image, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setFixedSize(geometry.size());
    button->setStyleSheet(pushButtonStyle(image));
    return button;
}

// Alt and the scene's number plays it: the picker owns Ctrl and the digits, the menus Alt and letters.
QString unsavedText() {
    return MSPControlPanel::tr("Its changes are not saved on the keypad.");
}

QKeySequence sceneShortcut(int index) {
    return QKeySequence(Qt::ALT | (Qt::Key_1 + index));
}

} // namespace

MSPControlPanelWidget::MSPControlPanelWidget(QWidget* parent)
    : QWidget(parent) {
    buildForm();

    for (QRadioButton* button : m_sceneButtons)
        connect(button, &QRadioButton::pressed, this, &MSPControlPanelWidget::handleSceneButtonClicked);
    connect(m_upButton, &QPushButton::clicked, this, &MSPControlPanelWidget::handleUpClicked);
    connect(m_downButton, &QPushButton::clicked, this, &MSPControlPanelWidget::handleDownClicked);
    connect(m_onOffButton, &QPushButton::pressed, this, &MSPControlPanelWidget::handleToggle);
    connect(ConnectionState::instance(), &ConnectionState::stateChanged, this,
            &MSPControlPanelWidget::handleStatusChanged);
    MSPSceneModel* model = MSPSceneModel::instance();
    connect(model, &MSPSceneModel::unsavedChanged, this, &MSPControlPanelWidget::showUnsaved);
    for (int index = 0; index < sceneCount; ++index)
        showUnsaved(index, model->isUnsaved(index));
    m_connectionFailedFrame->hide();
    setUpKeyboard();
}

QList<QAbstractButton*> MSPControlPanelWidget::keys() const {
    QList<QAbstractButton*> list;
    for (QRadioButton* button : m_sceneButtons)
        list.append(button);
    list << m_downButton << m_upButton << m_onOffButton;
    return list;
}

void MSPControlPanelWidget::setUpKeyboard() {
    const QList<QAbstractButton*> order = keys();
    for (int i = 0; i < order.size(); ++i) {
        order[i]->installEventFilter(this);
        m_keyMarks->addKey(order[i]);
        if (i > 0)
            setTabOrder(order[i - 1], order[i]);
    }
    for (int index = 0; index < sceneCount; ++index) {
        m_sceneButtons[index]->setToolTip(MSPControlPanel::tr("Scene %1 (%2)")
                                              .arg(index + 1)
                                              .arg(sceneShortcut(index).toString(QKeySequence::NativeText)));
        connect(m_sceneButtons[index], &QRadioButton::toggled, this, &MSPControlPanelWidget::updateKeyDescriptions);
    }
    m_downButton->setAccessibleName(MSPControlPanel::tr("Brightness down"));
    m_downButton->setAccessibleDescription(MSPControlPanel::tr("Dims the keypad's lights by one step."));
    m_downButton->setToolTip(MSPControlPanel::tr("Brightness down"));
    m_upButton->setAccessibleName(MSPControlPanel::tr("Brightness up"));
    m_upButton->setAccessibleDescription(MSPControlPanel::tr("Brightens the keypad's lights by one step."));
    m_upButton->setToolTip(MSPControlPanel::tr("Brightness up"));
    m_onOffButton->setAccessibleName(MSPControlPanel::tr("On/Off"));
    m_onOffButton->setAccessibleDescription(MSPControlPanel::tr("Switches the keypad's lights on or off."));
    m_onOffButton->setToolTip(MSPControlPanel::tr("On/Off"));
    connect(MSPSceneModel::instance(), &MSPSceneModel::effectChanged, this,
            &MSPControlPanelWidget::updateKeyDescriptions);
    updateKeyDescriptions();
    updateKeyAccess();
}

void MSPControlPanelWidget::updateKeyDescriptions() {
    const MSPSceneModel* model = MSPSceneModel::instance();
    for (int index = 0; index < sceneCount; ++index) {
        QRadioButton* button = m_sceneButtons[index];
        button->setAccessibleName(button->isChecked() ? MSPControlPanel::tr("Scene %1, playing").arg(index + 1)
                                                      : MSPControlPanel::tr("Scene %1").arg(index + 1));
        const MSPScene* scene = model->scene(index);
        button->setAccessibleDescription(scene && scene->effect()
                                             ? MSPControlPanel::tr("Plays this scene on the keypad: %1.")
                                                   .arg(MSPEffect::nameForType(scene->effect()->type()))
                                             : MSPControlPanel::tr("Plays this scene on the keypad."));
        if (model->isUnsaved(index))
            button->setAccessibleDescription(button->accessibleDescription() + QLatin1Char(' ') + unsavedText());
    }
}

void MSPControlPanelWidget::updateKeyAccess() {
    const bool open = m_overlay->isHidden();
    for (QAbstractButton* key : keys()) {
        key->setFocusPolicy(open ? Qt::TabFocus : Qt::NoFocus);
        if (!open && key->hasFocus())
            key->clearFocus();
    }
    for (int index = 0; index < sceneCount; ++index)
        m_sceneButtons[index]->setShortcut(open ? sceneShortcut(index) : QKeySequence());
}

bool MSPControlPanelWidget::eventFilter(QObject* watched, QEvent* event) {
    auto* key = qobject_cast<QAbstractButton*>(watched);
    if (!key || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* press = static_cast<QKeyEvent*>(event);
    switch (press->key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
        // Behind the cover the keys cannot be pressed, by mouse or by keyboard.
        return !m_overlay->isHidden();
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Space presses a button in Qt; Enter does only in dialogs, and these keys are pressed on a wall.
        if (m_overlay->isHidden() && press->modifiers() == Qt::NoModifier && !press->isAutoRepeat())
            key->animateClick();
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // Arrows move over the plate without pressing anything, unlike a radio group's arrows, which
        // would play every scene passed on the way.
        if (press->modifiers() == Qt::NoModifier || press->modifiers() == Qt::KeypadModifier)
            moveFocus(key, press->key());
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void MSPControlPanelWidget::moveFocus(QAbstractButton* from, int arrow) {
    const QPoint start = from->geometry().center();
    QAbstractButton* nearest = nullptr;
    int nearestScore = 0;
    for (QAbstractButton* key : keys()) {
        if (key == from || !key->isEnabled() || !(key->focusPolicy() & Qt::TabFocus))
            continue;
        const QPoint step = key->geometry().center() - start;
        int along = 0, across = 0;
        switch (arrow) {
        case Qt::Key_Left:
            along = -step.x(), across = qAbs(step.y());
            break;
        case Qt::Key_Right:
            along = step.x(), across = qAbs(step.y());
            break;
        case Qt::Key_Up:
            along = -step.y(), across = qAbs(step.x());
            break;
        default:
            along = step.y(), across = qAbs(step.x());
            break;
        }
        // Straight ahead first: a key off to the side counts twice its offset.
        const int score = along + 2 * across;
        if (along > 0 && (!nearest || score < nearestScore)) {
            nearest = key;
            nearestScore = score;
        }
    }
    if (nearest)
        nearest->setFocus(Qt::TabFocusReason);
}

void MSPControlPanelWidget::showUnsaved(int index, bool unsaved) {
    if (index < 0 || index >= sceneCount)
        return;
    m_keyMarks->setMark(m_sceneButtons[index], KeypadKeyMarks::Unsaved, unsaved);
    const QString shortcut = MSPControlPanel::tr("Scene %1 (%2)")
                                 .arg(index + 1)
                                 .arg(sceneShortcut(index).toString(QKeySequence::NativeText));
    m_sceneButtons[index]->setToolTip(unsaved ? shortcut + QLatin1Char('\n') + unsavedText() : shortcut);
    updateKeyDescriptions();
}

bool MSPControlPanelWidget::isMarkedUnsaved(int index) const {
    return index >= 0 && index < sceneCount &&
           m_keyMarks->marks(m_sceneButtons[index]).testFlag(KeypadKeyMarks::Unsaved);
}

void MSPControlPanelWidget::buildForm() {
    setObjectName(QStringLiteral("MSPControlPanel"));
    setWindowTitle(MSPControlPanel::tr("Lumetto Keypad"));
    setAttribute(Qt::WA_StyledBackground, true);
    setFixedSize(400, 600);
    setStyleSheet(QStringLiteral("QWidget#MSPControlPanel { background-image: url(:/images/images/background.png); "
                                 "border-right: 1px solid gray; }"));

    for (int index : FormOrder) {
        const SceneButtonForm& form = SceneButtons[index];
        auto* button = new SceneKeyButton(this);
        button->setObjectName(QLatin1String(form.name));
        button->setGeometry(form.geometry);
        button->setFixedSize(form.geometry.size());
        button->setStyleSheet(sceneButtonStyle(form.image, form.geometry.size()));
        m_sceneButtons[index] = button;
    }
    QRadioButton* scene8 = m_sceneButtons[7];
    scene8->setMinimumHeight(6);
    scene8->setMaximumHeight(86);

    m_downButton = plateButton("downButton", QRect(47, 392, 152, 86), 9, this);
    m_downButton->setAutoRepeat(true);
    m_upButton = plateButton("upButton", QRect(202, 392, 152, 86), 10, this);
    m_upButton->setAutoRepeat(true);
    m_upButton->setMinimumWidth(150);
    m_onOffButton = plateButton("onOffButton", QRect(46, 480, 309, 88), 11, this);
    // Above the keys, under the cover and the failure frame.
    m_keyMarks = new KeypadKeyMarks(this);

    m_overlay = new PlateVeil(this);
    m_overlay->setObjectName(QStringLiteral("overlay"));
    m_overlay->setGeometry(-10, 0, 400, 600);

    m_connectionFailedFrame = new QFrame(this);
    m_connectionFailedFrame->setObjectName(QStringLiteral("connectionFailedFrame"));
    m_connectionFailedFrame->setGeometry(10, 170, 371, 191);
    m_connectionFailedFrame->setStyleSheet(QStringLiteral("QFrame{\nbackground-color:#ffffff;\n}"));
    m_connectionFailedFrame->setFrameShape(QFrame::Box);
    m_connectionFailedFrame->setFrameShadow(QFrame::Raised);
    auto* frameLayout = new QVBoxLayout(m_connectionFailedFrame);
    // The frame has a fixed size in pixels, so its text gets one too: a large desktop font would
    // cut the choices short.
    QFont frameFont = m_connectionFailedFrame->font();
    frameFont.setPixelSize(13);
    frameLayout->setContentsMargins(8, 10, 8, 8);
    auto* messageRow = new QHBoxLayout;
    auto* icon = new QLabel(m_connectionFailedFrame);
    icon->setObjectName(QStringLiteral("iconLabel"));
    icon->setPixmap(ZelWidgetsLib::ScaledPixmap::load(QStringLiteral(":/images/images/icon_question.png")));
    icon->setAlignment(Qt::AlignCenter);
    auto* failureLabel = new QLabel(
        MSPControlPanel::tr(
            "The connection to an Lumetto Keypad has failed.  You may want to go to the Network tab to change the "
            "settings before attempting to reconnect or use one of the options below. "),
        m_connectionFailedFrame);
    failureLabel->setObjectName(QStringLiteral("failureLabel"));
    failureLabel->setWordWrap(true);
    failureLabel->setFont(frameFont);
    messageRow->addWidget(icon);
    messageRow->addWidget(failureLabel, 1);
    frameLayout->addLayout(messageRow);
    auto* choiceRow = new QHBoxLayout;
    auto* demoModeButton = new QPushButton(MSPControlPanel::tr("Go to Offline Demo Mode"), m_connectionFailedFrame);
    demoModeButton->setObjectName(QStringLiteral("demoModeButton"));
    demoModeButton->setFont(frameFont);
    auto* retryButton = new QPushButton(MSPControlPanel::tr("Retry Connection"), m_connectionFailedFrame);
    retryButton->setObjectName(QStringLiteral("retryButton"));
    retryButton->setFont(frameFont);
    choiceRow->addWidget(demoModeButton);
    choiceRow->addWidget(retryButton);
    frameLayout->addLayout(choiceRow);

    connect(demoModeButton, &QPushButton::clicked, this, &MSPControlPanelWidget::handleDemoModeSelected);
    connect(retryButton, &QPushButton::clicked, this, &MSPControlPanelWidget::retryDiscoverySelected);
}

void MSPControlPanelWidget::selectScene(int index) {
    if (index < 0 || index >= sceneCount)
        return;
    m_sceneButtons[index]->setChecked(true);
}

void MSPControlPanelWidget::setPanelEnabled(bool enabled) {
    m_overlay->setVisible(!enabled);
    if (enabled)
        m_connectionFailedFrame->hide();
    updateKeyAccess();
}

void MSPControlPanelWidget::handleScene1StateChanged(bool enabled) {
    m_sceneButtons[0]->setEnabled(enabled);
}
void MSPControlPanelWidget::handleScene2StateChanged(bool enabled) {
    m_sceneButtons[1]->setEnabled(enabled);
}
void MSPControlPanelWidget::handleScene3StateChanged(bool enabled) {
    m_sceneButtons[2]->setEnabled(enabled);
}
void MSPControlPanelWidget::handleScene4StateChanged(bool enabled) {
    m_sceneButtons[3]->setEnabled(enabled);
}
void MSPControlPanelWidget::handleScene5StateChanged(bool enabled) {
    m_sceneButtons[4]->setEnabled(enabled);
}
void MSPControlPanelWidget::handleScene6StateChanged(bool enabled) {
    m_sceneButtons[5]->setEnabled(enabled);
}
void MSPControlPanelWidget::handleScene7StateChanged(bool enabled) {
    m_sceneButtons[6]->setEnabled(enabled);
}
void MSPControlPanelWidget::handleScene8StateChanged(bool enabled) {
    m_sceneButtons[7]->setEnabled(enabled);
}
void MSPControlPanelWidget::handleDownStateChanged(bool enabled) {
    m_downButton->setEnabled(enabled);
}
void MSPControlPanelWidget::handleUpStateChanged(bool enabled) {
    m_upButton->setEnabled(enabled);
}
void MSPControlPanelWidget::handleOnOffStateChanged(bool enabled) {
    m_onOffButton->setEnabled(enabled);
}

void MSPControlPanelWidget::handleSceneButtonClicked() {
    // The key that was pressed, first: a key pressed from the keyboard stays down for a moment, so
    // another pressed meanwhile must not be taken for it.
    for (int index = 0; index < sceneCount; ++index) {
        if (sender() == m_sceneButtons[index]) {
            emit sceneIndexSelected(index);
            return;
        }
    }
    int selected = 0;
    for (int index = 0; index < sceneCount; ++index) {
        if (m_sceneButtons[index]->isDown()) {
            selected = index;
            break;
        }
    }
    emit sceneIndexSelected(selected);
}

bool MSPControlPanelWidget::isSent(MSPKeyPress::Key key) const {
    MSPSceneModel* model = MSPSceneModel::instance();
    const MSPScene* scene = model->scene(model->activeSceneIndex());
    const int effectType = scene && scene->effect() ? scene->effect()->type() : -1;
    return MSPKeyPress::isSent(key, effectType, SystemConfiguration::instance()->brightness());
}

void MSPControlPanelWidget::handleUpClicked() {
    if (isSent(MSPKeyPress::Key::Up))
        MSPComm::instance()->brightnessUp();
}

void MSPControlPanelWidget::handleDownClicked() {
    if (isSent(MSPKeyPress::Key::Down))
        MSPComm::instance()->brightnessDown();
}

void MSPControlPanelWidget::handleToggle() {
    MSPComm::instance()->pressOnOff();
}

void MSPControlPanelWidget::handleStatusChanged(ConnectionState::State state) {
    switch (state) {
    case ConnectionState::Discovering:
    case ConnectionState::Connected:
    case ConnectionState::OfflineDemo:
        // The demo plays the active scene as a keypad would, with its key lit.
        if (state == ConnectionState::OfflineDemo)
            selectScene(MSPSceneModel::instance()->activeSceneIndex());
        m_overlay->setVisible(state == ConnectionState::Discovering);
        m_connectionFailedFrame->hide();
        m_connectionFailedFrame->lower();
        break;
    case ConnectionState::NotConnected:
    case ConnectionState::RestoringFactoryDefaults:
        m_overlay->show();
        break;
    case ConnectionState::CommunicationFailure:
    case ConnectionState::ConnectionLost:
    case ConnectionState::NoDevice:
        m_overlay->show();
        m_connectionFailedFrame->show();
        m_connectionFailedFrame->raise();
        break;
    case ConnectionState::StatusUnknown:
    default:
        break;
    }
    updateKeyAccess();
}

void MSPControlPanelWidget::handleDemoModeSelected() {
    ConnectionState::instance()->setState(ConnectionState::OfflineDemo);
}
