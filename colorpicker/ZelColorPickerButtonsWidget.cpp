#include "ZelColorPickerButtonsWidget.h"

#include "PickerLog.h"
#include "ZelColorLibrary.h"
#include "ZelColorPicker.h"
#include "ZelColorPickerWidget.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QSettings>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

namespace ZelColorPickerLib {

namespace {

const QString rgbDisplayedKey = QStringLiteral("colorPickerRGBPickerDisplayed");
const QString whiteDisplayedKey = QStringLiteral("colorPickerWhitePickerDisplayed");
const QString nChannelDisplayedKey = QStringLiteral("colorPickerNChannelPickerDisplayed");

QString& currentFavoriteList() {
    static QString list;
    return list;
}

// Drawn button faces: a colour wheel segment for RGB, a warm-to-cool bar for whites, channel bars.
QIcon drawnIcon(int kind) {
    // Drawn for the sharpest screen, so the faces stay crisp at 200 %.
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap pixmap(QSize(32, 32) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (kind == 0) {
        QConicalGradient wheel(16, 16, 90);
        for (int i = 0; i <= 6; ++i)
            wheel.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 255, 255));
        painter.setBrush(wheel);
        painter.setPen(QPen(QColor(70, 70, 70), 1));
        painter.drawEllipse(QRectF(4, 4, 24, 24));
    } else if (kind == 1) {
        QLinearGradient whites(4, 0, 28, 0);
        whites.setColorAt(0.0, QColor(255, 170, 90));
        whites.setColorAt(0.5, QColor(255, 246, 236));
        whites.setColorAt(1.0, QColor(200, 220, 255));
        painter.setBrush(whites);
        painter.setPen(QPen(QColor(70, 70, 70), 1));
        painter.drawEllipse(QRectF(4, 4, 24, 24));
    } else {
        painter.setPen(Qt::NoPen);
        const QColor colors[] = {QColor(220, 40, 40), QColor(40, 170, 60), QColor(40, 80, 220), QColor(230, 230, 220)};
        const int heights[] = {18, 12, 22, 8};
        for (int i = 0; i < 4; ++i) {
            painter.setBrush(colors[i]);
            painter.drawRect(QRectF(5 + i * 6, 27 - heights[i], 4, heights[i]));
        }
    }
    return QIcon(pixmap);
}

QToolButton* barButton(const QString& name, const QString& toolTip, int kind, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    // A picture alone: screen readers say what the tool tip says.
    button->setAccessibleName(toolTip);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setIcon(drawnIcon(kind));
    button->setIconSize(QSize(22, 22));
    button->setFixedSize(30, 30);
    return button;
}

} // namespace

ZelColorPickerButtonsWidget::ZelColorPickerButtonsWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("ZelColorPickerButtonsWidget"));
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_buttonsFrame = new QFrame(this);
    m_buttonsFrame->setObjectName(QStringLiteral("buttonsFrame"));
    outer->addWidget(m_buttonsFrame);
    auto* layout = new QHBoxLayout(m_buttonsFrame);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    m_showRgbPickerButton = barButton(QStringLiteral("showRgbPickerButton"), tr("Display RGB Range"), 0, this);
    m_showWhitePickerButton = barButton(QStringLiteral("showWhitePickerButton"), tr("Display White Range"), 1, this);
    m_buttonDivider = new QFrame(this);
    m_buttonDivider->setObjectName(QStringLiteral("buttonDivider"));
    m_buttonDivider->setFrameShape(QFrame::VLine);
    m_buttonDivider->setFrameShadow(QFrame::Sunken);
    m_showNChannelPickerButton =
        barButton(QStringLiteral("showNChannelPickerButton"), tr("Display Channel Control"), 2, this);
    m_addToFavoritesButton = new QToolButton(this);
    m_addToFavoritesButton->setObjectName(QStringLiteral("addToFavoritesButton"));
    m_addToFavoritesButton->setToolTip(tr("Add to User Group"));
    m_addToFavoritesButton->setAccessibleName(tr("Add to User Group"));
    m_addToFavoritesButton->setText(QStringLiteral("\u2665"));
    m_addToFavoritesButton->setPopupMode(QToolButton::MenuButtonPopup);
    m_addToFavoritesButton->setAutoRaise(true);
    QFont heart = m_addToFavoritesButton->font();
    heart.setPointSizeF(heart.pointSizeF() * 1.4);
    m_addToFavoritesButton->setFont(heart);
    m_addToFavoritesButton->setFixedHeight(qMax(30, m_addToFavoritesButton->sizeHint().height()));
    m_favoritesMenu = new QMenu(m_addToFavoritesButton);
    m_favoritesMenu->setObjectName(QStringLiteral("favoritesMenu"));
    m_addToFavoritesButton->setMenu(m_favoritesMenu);

    layout->addWidget(m_showRgbPickerButton);
    layout->addWidget(m_showWhitePickerButton);
    layout->addWidget(m_showNChannelPickerButton);
    layout->addWidget(m_buttonDivider);
    layout->addWidget(m_addToFavoritesButton);
    layout->addStretch(1);

    auto* pages = new QButtonGroup(this);
    pages->setExclusive(true);
    pages->addButton(m_showRgbPickerButton);
    pages->addButton(m_showWhitePickerButton);
    m_showRgbPickerButton->setChecked(true);

    connect(m_showRgbPickerButton, &QToolButton::clicked, this, [this] {
        storeToggleStates();
        updateColorPickerDisplay();
    });
    connect(m_showWhitePickerButton, &QToolButton::clicked, this, [this] {
        storeToggleStates();
        updateColorPickerDisplay();
    });
    connect(m_showNChannelPickerButton, &QToolButton::clicked, this, [this] {
        storeToggleStates();
        updateNChannelWidgetDisplay();
    });
    connect(m_addToFavoritesButton, &QToolButton::clicked, this,
            [this] { addToFavoritesButtonClicked(favoriteList()); });
    connect(m_favoritesMenu, &QMenu::triggered, this, &ZelColorPickerButtonsWidget::triggeredFavoriteList);

    ZelColorLibrary* library = ZelColorLibrary::Instance();
    connect(library, &ZelColorLibrary::listsChanged, this, &ZelColorPickerButtonsWidget::updateColorLists);
    connect(library, &ZelColorLibrary::listRenamed, this, &ZelColorPickerButtonsWidget::handleListRenamed);
    m_lists = library->getModifiableLists();
    fillFavoritesMenu();
    updateVisibility();
}

QString ZelColorPickerButtonsWidget::defaultFavoriteListName() {
    return tr("Favorites");
}

QString ZelColorPickerButtonsWidget::favoriteList() {
    return currentFavoriteList().isEmpty() ? defaultFavoriteListName() : currentFavoriteList();
}

void ZelColorPickerButtonsWidget::setFavoriteList(const QString& list) {
    currentFavoriteList() = list;
}

void ZelColorPickerButtonsWidget::setColorPicker(ZelColorPicker* picker) {
    if (m_picker)
        disconnect(m_picker, nullptr, this, nullptr);
    m_picker = picker;
    if (!m_picker)
        return;
    connect(m_picker, &ZelColorPicker::pickerSetOnSetColor, this, &ZelColorPickerButtonsWidget::updatePickerButtons);
    updateColorPickerDisplay();
}

void ZelColorPickerButtonsWidget::setVisibleButtons(int buttons) {
    m_rgbVisible = buttons & RgbButton;
    m_whiteVisible = buttons & WhiteButton;
    m_nChannelVisible = buttons & NChannelButton;
    updateVisibility();
}

int ZelColorPickerButtonsWidget::visibleButtons() const {
    return (m_rgbVisible ? RgbButton : 0) | (m_whiteVisible ? WhiteButton : 0) |
           (m_nChannelVisible ? NChannelButton : 0);
}

void ZelColorPickerButtonsWidget::setRgbButtonVisible(bool visible) {
    m_rgbVisible = visible;
    updateVisibility();
}

void ZelColorPickerButtonsWidget::setWhiteButtonVisible(bool visible) {
    m_whiteVisible = visible;
    updateVisibility();
}

void ZelColorPickerButtonsWidget::setNChannelButtonVisible(bool visible) {
    m_nChannelVisible = visible;
    updateVisibility();
}

void ZelColorPickerButtonsWidget::setFavoritesButtonVisible(bool visible) {
    m_favoritesVisible = visible;
    updateVisibility();
}

void ZelColorPickerButtonsWidget::updateVisibility() {
    m_showRgbPickerButton->setVisible(m_rgbVisible);
    m_showWhitePickerButton->setVisible(m_whiteVisible);
    m_showNChannelPickerButton->setVisible(m_nChannelVisible);
    m_addToFavoritesButton->setVisible(m_favoritesVisible);
    const int pickerButtons = int(m_rgbVisible) + int(m_whiteVisible) + int(m_nChannelVisible);
    m_buttonDivider->setVisible(m_favoritesVisible && pickerButtons >= 2);
}

void ZelColorPickerButtonsWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QSettings settings;
    const bool rgb = settings.value(rgbDisplayedKey, true).toBool();
    const bool white = settings.value(whiteDisplayedKey, false).toBool();
    const QSignalBlocker rgbBlocker(m_showRgbPickerButton);
    const QSignalBlocker whiteBlocker(m_showWhitePickerButton);
    const QSignalBlocker channelBlocker(m_showNChannelPickerButton);
    if (rgb || !white)
        m_showRgbPickerButton->setChecked(true);
    else
        m_showWhitePickerButton->setChecked(true);
    m_showNChannelPickerButton->setChecked(settings.value(nChannelDisplayedKey, false).toBool());
    if (!m_picker)
        return;
    // A picker that already shows a colour keeps the page of that colour; the buttons follow it.
    if (m_picker->body()->hasColor()) {
        const QSignalBlocker pageBlocker(m_showRgbPickerButton);
        if (m_picker->body()->currentPage() == ZelColorPickerWidget::RgbPage)
            m_showRgbPickerButton->setChecked(true);
        else
            m_showWhitePickerButton->setChecked(true);
        updateNChannelWidgetDisplay();
    } else {
        updateColorPickerDisplay();
    }
}

void ZelColorPickerButtonsWidget::storeToggleStates() {
    QSettings settings;
    settings.setValue(rgbDisplayedKey, m_showRgbPickerButton->isChecked());
    settings.setValue(whiteDisplayedKey, m_showWhitePickerButton->isChecked());
    settings.setValue(nChannelDisplayedKey, m_showNChannelPickerButton->isChecked());
}

void ZelColorPickerButtonsWidget::updateColorPickerDisplay() {
    if (!m_picker)
        return;
    if (m_showRgbPickerButton->isChecked())
        m_picker->showRgbPicker();
    else if (m_showWhitePickerButton->isChecked())
        m_picker->showWhitePicker();
    updateNChannelWidgetDisplay();
}

void ZelColorPickerButtonsWidget::updateNChannelWidgetDisplay() {
    if (m_picker)
        m_picker->showNChannelPickers(m_showNChannelPickerButton->isChecked());
}

void ZelColorPickerButtonsWidget::addToFavoritesButtonClicked(QString list) {
    emit clearPreviousSelection();
    if (m_picker)
        m_picker->addCurrentColorToFavorites(list);
}

void ZelColorPickerButtonsWidget::updatePickerButtons(int selectedPickerIndex, bool enableSliders) {
    const QSignalBlocker rgbBlocker(m_showRgbPickerButton);
    const QSignalBlocker whiteBlocker(m_showWhitePickerButton);
    const QSignalBlocker channelBlocker(m_showNChannelPickerButton);
    if (selectedPickerIndex == 0)
        m_showRgbPickerButton->setChecked(true);
    else
        m_showWhitePickerButton->setChecked(true);
    m_showNChannelPickerButton->setChecked(enableSliders);
}

void ZelColorPickerButtonsWidget::updateColorLists(QStringList lists) {
    m_lists = lists;
    // A target list that went away falls back to the default.
    if (!currentFavoriteList().isEmpty() && !m_lists.contains(currentFavoriteList()))
        currentFavoriteList().clear();
    rebuildFavoritesMenu();
}

void ZelColorPickerButtonsWidget::handleListRenamed(const QString& oldName, const QString& newName) {
    const int index = m_lists.indexOf(oldName);
    if (index >= 0)
        m_lists[index] = newName;
    if (currentFavoriteList() == oldName)
        currentFavoriteList() = newName;
    rebuildFavoritesMenu();
}

void ZelColorPickerButtonsWidget::rebuildFavoritesMenu() {
    // Deferred: the menu may be in the middle of delivering one of the actions it would delete.
    if (m_menuRebuildPending)
        return;
    m_menuRebuildPending = true;
    QTimer::singleShot(0, this, [this] {
        m_menuRebuildPending = false;
        fillFavoritesMenu();
    });
}

void ZelColorPickerButtonsWidget::fillFavoritesMenu() {
    m_favoritesMenu->clear();
    const QString target = favoriteList();
    for (const QString& list : qAsConst(m_lists)) {
        QAction* action = m_favoritesMenu->addAction(list);
        action->setData(list);
        action->setCheckable(true);
        action->setChecked(list == target);
    }
    if (!m_lists.isEmpty())
        m_favoritesMenu->addSeparator();
    QAction* newGroup = m_favoritesMenu->addAction(tr("New Color Group"));
    newGroup->setObjectName(QStringLiteral("newColorGroupAction"));
    m_addToFavoritesButton->setToolTip(tr("Add to User Group") + QStringLiteral(" (") + target + QLatin1Char(')'));
}

void ZelColorPickerButtonsWidget::triggeredFavoriteList(QAction* action) {
    if (!action)
        return;
    QString list = action->data().toString();
    if (list.isEmpty()) {
        list = ZelColorLibrary::Instance()->createColorList(tr("New Color Group"), true);
        if (list.isEmpty()) {
            qCWarning(lcPicker) << "Could not create a new colour group";
            return;
        }
    }
    setFavoriteList(list);
    rebuildFavoritesMenu();
}

} // namespace ZelColorPickerLib
