#include "UpdateDialog.h"

#include "UpdateChecker.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

UpdateDialog::UpdateDialog(QWidget* parent)
    : QDialog(parent) {
    buildForm();
    connect(m_proxyCheckBox, &QCheckBox::clicked, m_proxyFrame, &QFrame::setEnabled);
    connect(m_autoCheckForUpdatesCheckbox, &QCheckBox::toggled, this, &UpdateDialog::updateIntervalEnabled);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &UpdateDialog::savePreferences);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    QMetaObject::connectSlotsByName(this);
    updateLastCheckedOnLabel();
}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::buildForm() {
    setObjectName(QStringLiteral("UpdateDialogForm"));
    setWindowTitle(tr("Check For Updates"));
    resize(490, 375);

    auto* proxyGroup = named(new QGroupBox(tr("HTTP Proxy"), this), "groupBox_3");
    m_proxyCheckBox = named(new QCheckBox(tr("Use a proxy to access the internet"), proxyGroup), "proxyCheckBox");
    m_proxyFrame = named(new QFrame(proxyGroup), "proxyFrame");
    m_proxyFrame->setEnabled(false);

    auto* hostLabel = named(new QLabel(tr("HTTP Proxy:"), m_proxyFrame), "label_15");
    m_proxyLineEdit = named(new QLineEdit(m_proxyFrame), "proxyLineEdit");
    m_proxyLineEdit->setPlaceholderText(tr("proxy.example.com"));
    hostLabel->setBuddy(m_proxyLineEdit);
    auto* portLabel = named(new QLabel(tr("Port:"), m_proxyFrame), "proxyPortLabel");
    m_proxyPortSpinBox = named(new QSpinBox(m_proxyFrame), "proxyPortSpinBox");
    m_proxyPortSpinBox->setRange(0, 65535);
    m_proxyPortSpinBox->setValue(8080);
    m_proxyPortSpinBox->setMinimumWidth(80);
    portLabel->setBuddy(m_proxyPortSpinBox);
    auto* userLabel = named(new QLabel(tr("Username:"), m_proxyFrame), "label_16");
    m_usernameLineEdit = named(new QLineEdit(m_proxyFrame), "usernameLineEdit");
    userLabel->setBuddy(m_usernameLineEdit);
    auto* passwordLabel = named(new QLabel(tr("Password:"), m_proxyFrame), "label_17");
    m_passwordLineEdit = named(new QLineEdit(m_proxyFrame), "passwordLineEdit");
    m_passwordLineEdit->setEchoMode(QLineEdit::Password);
    passwordLabel->setBuddy(m_passwordLineEdit);

    auto* proxyGrid = new QGridLayout(m_proxyFrame);
    proxyGrid->setContentsMargins(20, 0, 0, 0);
    proxyGrid->addWidget(hostLabel, 0, 0);
    proxyGrid->addWidget(m_proxyLineEdit, 0, 1);
    proxyGrid->addWidget(portLabel, 0, 2);
    proxyGrid->addWidget(m_proxyPortSpinBox, 0, 3);
    proxyGrid->addWidget(userLabel, 1, 0);
    proxyGrid->addWidget(m_usernameLineEdit, 1, 1, 1, 3);
    proxyGrid->addWidget(passwordLabel, 2, 0);
    proxyGrid->addWidget(m_passwordLineEdit, 2, 1, 1, 3);
    proxyGrid->setColumnStretch(1, 1);

    auto* proxyLayout = new QVBoxLayout(proxyGroup);
    proxyLayout->addWidget(m_proxyCheckBox);
    proxyLayout->addWidget(m_proxyFrame);

    auto* updatesGroup = named(new QGroupBox(tr("Software Updates"), this), "updatesGroupBox");
    m_autoCheckForUpdatesCheckbox =
        named(new QCheckBox(tr("Automatically check for updates"), updatesGroup), "m_autoCheckForUpdatesCheckbox");
    m_autoCheckForUpdatesCheckbox->setChecked(true);
    m_everyLabel = named(new QLabel(tr("Check every"), updatesGroup), "updateLabel_3");
    m_checkForUpdateEveryNDaysSpinBox = named(new QSpinBox(updatesGroup), "m_checkForUpdateEveryNDaysSpinBox");
    m_checkForUpdateEveryNDaysSpinBox->setRange(0, 365);
    m_checkForUpdateEveryNDaysSpinBox->setValue(14);
    m_everyLabel->setBuddy(m_checkForUpdateEveryNDaysSpinBox);
    m_daysLabel = named(new QLabel(tr("days"), updatesGroup), "updateLabel_4");
    m_checkForUpdatesNowButton = named(new QPushButton(tr("Check Now"), updatesGroup), "m_checkForUpdatesNowButton");
    m_checkForUpdatesNowButton->setAutoDefault(false);
    m_lastUpdatedLabel = named(new QLabel(updatesGroup), "m_lastUpdatedLabel");

    auto* intervalRow = new QHBoxLayout;
    intervalRow->setContentsMargins(20, 0, 0, 0);
    intervalRow->addWidget(m_everyLabel);
    intervalRow->addWidget(m_checkForUpdateEveryNDaysSpinBox);
    intervalRow->addWidget(m_daysLabel);
    intervalRow->addStretch();
    auto* nowRow = new QHBoxLayout;
    nowRow->addWidget(m_checkForUpdatesNowButton);
    nowRow->addSpacing(8);
    nowRow->addWidget(m_lastUpdatedLabel, 1);

    auto* updatesLayout = new QVBoxLayout(updatesGroup);
    updatesLayout->addWidget(m_autoCheckForUpdatesCheckbox);
    updatesLayout->addLayout(intervalRow);
    updatesLayout->addSpacing(6);
    updatesLayout->addLayout(nowRow);

    m_buttonBox = named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this), "buttonBox");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(updatesGroup);
    layout->addWidget(proxyGroup);
    layout->addStretch();
    layout->addWidget(m_buttonBox);

    setTabOrder(m_autoCheckForUpdatesCheckbox, m_checkForUpdateEveryNDaysSpinBox);
    setTabOrder(m_checkForUpdateEveryNDaysSpinBox, m_checkForUpdatesNowButton);
    setTabOrder(m_checkForUpdatesNowButton, m_proxyCheckBox);
    setTabOrder(m_proxyCheckBox, m_proxyLineEdit);
    setTabOrder(m_proxyLineEdit, m_proxyPortSpinBox);
    setTabOrder(m_proxyPortSpinBox, m_usernameLineEdit);
    setTabOrder(m_usernameLineEdit, m_passwordLineEdit);
}

void UpdateDialog::updateIntervalEnabled() {
    const bool automatic = m_autoCheckForUpdatesCheckbox->isChecked();
    m_everyLabel->setEnabled(automatic);
    m_checkForUpdateEveryNDaysSpinBox->setEnabled(automatic);
    m_daysLabel->setEnabled(automatic);
}

void UpdateDialog::loadPreferences() {
    QSettings settings;
    m_autoCheckForUpdatesCheckbox->setChecked(!settings.value(QStringLiteral("update_never_check"), false).toBool());
    m_checkForUpdateEveryNDaysSpinBox->setValue(
        settings.value(QStringLiteral("update_check_interval_days"), 14).toInt());
    const bool useProxy = settings.value(QStringLiteral("use_proxy"), false).toBool();
    m_proxyCheckBox->setChecked(useProxy);
    m_proxyFrame->setEnabled(useProxy);
    m_proxyLineEdit->setText(settings.value(QStringLiteral("proxy_host")).toString());
    m_proxyPortSpinBox->setValue(settings.value(QStringLiteral("proxy_port"), 0).toInt());
    m_usernameLineEdit->setText(settings.value(QStringLiteral("proxy_user")).toString());
    m_passwordLineEdit->setText(settings.value(QStringLiteral("proxy_password")).toString());
}

void UpdateDialog::savePreferences() {
    QSettings settings;
    settings.setValue(QStringLiteral("use_proxy"), m_proxyCheckBox->isChecked());
    settings.setValue(QStringLiteral("proxy_host"), m_proxyLineEdit->text());
    settings.setValue(QStringLiteral("proxy_port"), m_proxyPortSpinBox->value());
    settings.setValue(QStringLiteral("proxy_user"), m_usernameLineEdit->text());
    settings.setValue(QStringLiteral("proxy_password"), m_passwordLineEdit->text());
    settings.setValue(QStringLiteral("update_never_check"), !m_autoCheckForUpdatesCheckbox->isChecked());
    settings.setValue(QStringLiteral("update_check_interval_days"), m_checkForUpdateEveryNDaysSpinBox->value());
}

void UpdateDialog::showDialog() {
    loadPreferences();
    updateLastCheckedOnLabel();
    show();
    raise();
    activateWindow();
}

void UpdateDialog::on_m_checkForUpdatesNowButton_clicked() {
    if (!m_checker) {
        m_checker = new UpdateChecker(this);
        connect(m_checker, &UpdateChecker::updateLabelShouldReset, this, &UpdateDialog::resetUpdateLabel);
    }
    m_checker->useProgramDefaults();
    m_checker->setVerbose(true);
    const QString proxyHost = m_proxyLineEdit->text().trimmed();
    if (m_proxyCheckBox->isChecked() && !proxyHost.isEmpty())
        m_checker->startCheck(proxyHost, m_proxyPortSpinBox->value(), m_usernameLineEdit->text(),
                              m_passwordLineEdit->text());
    else
        m_checker->startCheck(QString(), 0, QString(), QString());
}

void UpdateDialog::updateLastCheckedOnLabel() {
    QDateTime last = QSettings().value(QStringLiteral("update_last_check")).toDateTime();
    if (!last.isValid())
        last = QDateTime::fromMSecsSinceEpoch(0, Qt::UTC);
    const qint64 days = last.daysTo(QDateTime::currentDateTime());
    // A last check in the future (a clock that was wrong) is no check we can vouch for.
    if (days < 0)
        m_lastUpdatedLabel->setText(tr("Last checked: never"));
    else if (days == 0)
        m_lastUpdatedLabel->setText(tr("Last checked: today"));
    else if (days == 1)
        m_lastUpdatedLabel->setText(tr("Last checked: 1 day ago"));
    else if (days < 366)
        m_lastUpdatedLabel->setText(tr("Last checked: %1 days ago").arg(days));
    else
        m_lastUpdatedLabel->setText(tr("Last checked: never"));
}

void UpdateDialog::resetUpdateLabel() {
    m_lastUpdatedLabel->setText(tr("Last checked today"));
}
