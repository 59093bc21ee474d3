#include "PreviewDock.h"

#include "ConnectionState.h"
#include "EffectPreviewWidget.h"
#include "MSPComm.h"
#include "MSPControlPanelWidget.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"

#include <QAction>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMenu>
#include <QSettings>
#include <QStyle>
#include <QTimer>

namespace {

const QString shownKey = QStringLiteral("msp_preview_shown");
const QString timeLapseKey = QStringLiteral("msp_preview_time_lapse");

} // namespace

PreviewDock::PreviewDock(QMainWindow* window, QMenu* viewMenu, MSPControlPanelWidget* controlPanel)
    : QDockWidget(tr("Preview"), window)
    , m_window(window) {
    setObjectName(QStringLiteral("Preview"));
    setAllowedAreas(Qt::BottomDockWidgetArea);
    m_preview = new EffectPreviewWidget(this);
    m_preview->setFixedHeight(m_preview->sizeHint().height());
    setWidget(m_preview);
    window->addDockWidget(Qt::BottomDockWidgetArea, this);
    hide();

    QAction* toggle = toggleViewAction();
    toggle->setObjectName(QStringLiteral("previewAct"));
    toggle->setMenuRole(QAction::NoRole);
    viewMenu->addAction(toggle);
    connect(toggle, &QAction::triggered, this, &PreviewDock::rememberShown);

    m_preview->setTimeLapse(QSettings().value(timeLapseKey, 1).toInt());
    connect(m_preview, &EffectPreviewWidget::timeLapseChanged, this,
            [](int factor) { QSettings().setValue(timeLapseKey, factor); });

    // Noted from the event loop: the dock's place has settled by then, and a window being destroyed
    // (which hides its docks) takes its dock and the pending note with it.
    auto fitLater = [this] { QTimer::singleShot(0, this, &PreviewDock::noteHeight); };
    connect(this, &QDockWidget::visibilityChanged, this, [this, fitLater](bool visible) {
        if (visible)
            follow();
        fitLater();
    });
    connect(this, &QDockWidget::topLevelChanged, this, fitLater);
    connect(this, &QDockWidget::dockLocationChanged, this, fitLater);

    // Edits reach the preview before they reach the keypad.
    MSPSceneModel* model = MSPSceneModel::instance();
    connect(model, &MSPSceneModel::effectParamsChanged, this, &PreviewDock::follow);
    connect(model, &MSPSceneModel::effectChanged, this, &PreviewDock::follow);
    connect(SystemConfiguration::instance(), &SystemConfiguration::configurationChanged, this, &PreviewDock::follow);
    connect(ConnectionState::instance(), &ConnectionState::stateChanged, this, &PreviewDock::follow);
    // The window makes the chosen scene the model's active one in its own slot: look after it has.
    connect(controlPanel, &MSPControlPanelWidget::sceneIndexSelected, this, &PreviewDock::follow, Qt::QueuedConnection);
    connect(MSPComm::instance(), &MSPComm::activeSceneIndexChanged, this, &PreviewDock::follow, Qt::QueuedConnection);
}

void PreviewDock::restoreVisibility() {
    setVisible(QSettings().value(shownKey, false).toBool());
}

void PreviewDock::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    rememberShown(false);
}

void PreviewDock::rememberShown(bool shown) {
    QSettings().setValue(shownKey, shown);
}

void PreviewDock::follow() {
    // A hidden preview catches up when it is shown.
    if (!isVisible())
        return;
    MSPSceneModel* model = MSPSceneModel::instance();
    const int index = model->activeSceneIndex();
    const MSPScene* scene = model->scene(index);
    m_preview->setLightLayout(EffectRenderer::Layout::of(*SystemConfiguration::instance()));
    m_preview->showScene(index + 1, scene ? scene->effect() : nullptr);
}

int PreviewDock::addedHeight() const {
    const bool below = isVisible() && !isFloating() &&
                       m_window->dockWidgetArea(const_cast<PreviewDock*>(this)) == Qt::BottomDockWidgetArea;
    return below ? sizeHint().height() + style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this) : 0;
}

void PreviewDock::noteHeight() {
    const int wanted = addedHeight();
    if (wanted == m_addedHeight)
        return;
    m_addedHeight = wanted;
    emit addedHeightChanged();
}
