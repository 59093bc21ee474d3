#include "StatusWidget.h"

#include "ScaledPixmap.h"
#include "SystemConfiguration.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVariant>

namespace {
const QString imagePath = QStringLiteral(":/images/images/");

QLabel* makeLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}
} // namespace

StatusWidget::StatusWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("Status"));
    setWindowTitle(QCoreApplication::translate("Status", "Form"));
    resize(400, 20);
    setMinimumSize(400, 18);
    setMaximumSize(400, 38);
    setStyleSheet(QString());

    auto* layoutWidget = m_layoutWidget = new QWidget(this);
    layoutWidget->setObjectName(QStringLiteral("layoutWidget"));
    layoutWidget->setGeometry(0, 0, 402, 20);
    auto* layout = new QHBoxLayout(layoutWidget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_iconLabel = makeLabel(layoutWidget, "iconLabel");
    m_iconLabel->setFixedSize(16, 18);
    m_textLabel = makeLabel(layoutWidget, "textLabel");
    m_textLabel->setFixedSize(330, 18);
    m_brightnessIconLabel = makeLabel(layoutWidget, "brightnessIconLabel");
    m_brightnessIconLabel->setMinimumSize(16, 16);
    m_brightnessIconLabel->setMaximumWidth(16);
    m_brightnessValueLabel = makeLabel(layoutWidget, "brightnessValueLabel");
    m_brightnessValueLabel->setMinimumSize(30, 18);
    for (QLabel* label : {m_iconLabel, m_textLabel, m_brightnessIconLabel, m_brightnessValueLabel})
        layout->addWidget(label);
    fitToFont();

    ConnectionState* connectionState = ConnectionState::instance();
    handleStatusChanged(connectionState->state());
    connect(connectionState, &ConnectionState::heartBeat, this, &StatusWidget::handleHeartBeat);
    connect(SystemConfiguration::instance(), &SystemConfiguration::brightnessChanged, this,
            &StatusWidget::handleBrightness);
    connect(connectionState, &ConnectionState::stateChanged, this, &StatusWidget::handleStatusChanged);
}

void StatusWidget::fitToFont() {
    constexpr int RowHeight = 18, TextWidth = 330, ValueWidth = 30, Width = 400, LayoutWidth = 402;
    const QFontMetrics metrics(font());
    const int rowHeight = qMax(RowHeight, metrics.height() + 2);
    const qreal growth = qreal(rowHeight) / RowHeight;
    // Never narrower than the longest text shown so far: a status is read whole or misread.
    const int textWidth = qMax(qRound(TextWidth * growth), m_widestText);
    const int valueWidth =
        qMax(qRound(ValueWidth * growth), metrics.horizontalAdvance(brightnessText(255)) + metrics.averageCharWidth());
    m_iconLabel->setFixedSize(16, rowHeight);
    m_textLabel->setFixedSize(textWidth, rowHeight);
    m_brightnessValueLabel->setMinimumSize(valueWidth, rowHeight);
    const int rowWidth = 16 + textWidth + 16 + valueWidth;
    m_layoutWidget->setGeometry(0, 0, qMax(LayoutWidth, rowWidth), qMax(20, rowHeight + 2));
    setMinimumSize(qMax(Width, rowWidth), rowHeight);
    setMaximumSize(qMax(Width, rowWidth), qMax(38, rowHeight + 2));
}

void StatusWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitToFont();
}

void StatusWidget::handleHeartBeat(bool reachable) {
    handleStatusChanged(reachable ? ConnectionState::Connected : ConnectionState::CommunicationFailure);
}

QString StatusWidget::brightnessText(int brightness) {
    if (brightness == -1)
        return tr("Off");
    return QString::number(brightness * 100 / 255) + QLatin1Char('%');
}

void StatusWidget::handleBrightness(int brightness) {
    m_brightnessValueLabel->setText(brightnessText(brightness));
}

void StatusWidget::handleStatusChanged(ConnectionState::State status) {
    m_shown = status;
    show(status);
}

void StatusWidget::setWaitingChanges(int count) {
    if (count == m_waitingChanges)
        return;
    m_waitingChanges = count;
    show(m_shown);
}

void StatusWidget::show(ConnectionState::State status) {
    QString text;
    QString icon;
    switch (status) {
    case ConnectionState::StatusUnknown:
        text = tr("Connection Status Unknown");
        icon = QStringLiteral("disconnected.png");
        break;
    case ConnectionState::Discovering:
        text = tr("Discovering");
        icon = QStringLiteral("discovering.png");
        break;
    case ConnectionState::Connected:
        text = tr("Connected");
        icon = QStringLiteral("connected.png");
        break;
    case ConnectionState::NotConnected:
        text = tr("Not Connected");
        icon = QStringLiteral("disconnected.png");
        break;
    case ConnectionState::CommunicationFailure:
        text = tr("Device communication failure.  IP address may be invalid.");
        icon = QStringLiteral("unreachable.png");
        break;
    case ConnectionState::OfflineDemo:
        text = QStringLiteral("<html><head/><body><p style=\" color:#ff0000;\">") +
               tr("Offline Demo Mode - Changes will not be saved.") + QStringLiteral("</p></body></html>");
        icon = QStringLiteral("demo.png");
        break;
    case ConnectionState::ConnectionLost:
    case ConnectionState::NoDevice:
    case ConnectionState::RestoringFactoryDefaults:
        break;
    }
    if (m_waitingChanges > 0 && status != ConnectionState::OfflineDemo) {
        text = m_waitingChanges == 1 ? tr("1 change waiting for the keypad")
                                     : tr("%1 changes waiting for the keypad").arg(m_waitingChanges);
        icon = QStringLiteral("discovering.png");
    }
    // A heartbeat arrives every second and mostly confirms what is shown: that costs no paint.
    if (text == m_textLabel->text() && icon == m_iconLabel->property("iconName").toString())
        return;
    m_textLabel->setText(text);
    // The text's markup is a few tags; a regular expression here loaded its engine at start-up.
    QString plain;
    bool inTag = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('<'))
            inTag = true;
        else if (c == QLatin1Char('>') && inTag)
            inTag = false;
        else if (!inTag)
            plain.append(c);
    }
    if (const int width = m_textLabel->fontMetrics().horizontalAdvance(plain) + 4; width > m_widestText) {
        m_widestText = width;
        fitToFont();
    }
    m_iconLabel->setPixmap(icon.isEmpty() ? QPixmap() : ZelWidgetsLib::ScaledPixmap::load(imagePath + icon));
    m_iconLabel->setProperty("iconName", icon);
    repaint();
}
