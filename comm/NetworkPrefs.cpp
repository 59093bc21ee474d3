#include "NetworkPrefs.h"

#include "CommLog.h"

#include <QDebug>
#include <QHeaderView>
#include <QHostAddress>
#include <QIcon>
#include <QNetworkConfigurationManager>
#include <QNetworkInterface>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableWidget>
#include <QVBoxLayout>

// The bearer API is deprecated in Qt 5.15 but is the one the REST client's access manager uses.
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

namespace {

const QString defaultKey = QStringLiteral("/network_interface/default");
const QString ipKey = QStringLiteral("/network_interface/ip");
const int columnCount = 3;

QNetworkAddressEntry anyAddressEntry() {
    QNetworkAddressEntry entry;
    entry.setIp(QHostAddress(QHostAddress::AnyIPv4));
    entry.setBroadcast(QHostAddress(QHostAddress::Broadcast));
    return entry;
}

} // namespace

NetworkPrefs::NetworkPrefs(QNetworkConfigurationManager* manager, QWidget* parent, bool live)
    : QDialog(parent)
    , m_configurationManager(manager)
    , m_live(live) {
    buildForm();
    if (!m_configurationManager)
        m_configurationManager = new QNetworkConfigurationManager(this);

    if (QSettings().value(defaultKey, true).toBool())
        m_defaultRadio->setChecked(true);
    else
        m_selectedRadio->setChecked(true);

    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->verticalHeader()->hide();

    connect(m_table, &QTableWidget::itemSelectionChanged, this, &NetworkPrefs::handleNetworkInterfaceSelectionChanged);
    connect(m_defaultRadio, &QRadioButton::toggled, this, &NetworkPrefs::handleUseDefaultInterfaceToggled);
    connect(m_refreshButton, &QPushButton::clicked, this, &NetworkPrefs::handleRefreshButtonClicked);
    connect(m_configurationManager, &QNetworkConfigurationManager::configurationRemoved, this,
            &NetworkPrefs::handleRefreshButtonClicked);
    connect(m_configurationManager, &QNetworkConfigurationManager::configurationAdded, this,
            &NetworkPrefs::handleRefreshButtonClicked);
    connect(m_configurationManager, &QNetworkConfigurationManager::updateCompleted, this,
            &NetworkPrefs::updateDefaultInterfaceLabel);

    fillTable();
}

void NetworkPrefs::buildForm() {
    setObjectName(QStringLiteral("NetworkChooserUI"));
    resize(581, 416);
    setWindowTitle(tr("Form"));

    auto* layout = new QVBoxLayout(this);
    m_defaultRadio = new QRadioButton(tr("Use default network interface"), this);
    m_defaultRadio->setObjectName(QStringLiteral("mDefaultNetworkInterfaceRadio"));
    m_defaultRadio->setChecked(true);
    layout->addWidget(m_defaultRadio);

    m_selectedRadio = new QRadioButton(tr("Use selected:"), this);
    m_selectedRadio->setObjectName(QStringLiteral("mSelectedNetworkInterfaceRadio"));
    layout->addWidget(m_selectedRadio);

    m_refreshButton = new QPushButton(this);
    m_refreshButton->setObjectName(QStringLiteral("refreshButton"));
    m_refreshButton->setIcon(QIcon(QStringLiteral(":/images/reload_arrow.png")));
    m_refreshButton->setIconSize(QSize(10, 13));
    m_refreshButton->setToolTip(tr("Refresh list of interfaces."));
    m_refreshButton->setAccessibleName(tr("Refresh list of interfaces"));
    m_refreshButton->setFlat(false);
    layout->addWidget(m_refreshButton, 0, Qt::AlignLeft);

    m_table = new QTableWidget(0, columnCount, this);
    m_table->setObjectName(QStringLiteral("mNetworkInterfaceTable"));
    m_table->setAccessibleName(tr("Network interfaces"));
    m_table->setHorizontalHeaderLabels({tr("Name"), tr("IP Address"), tr("Broadcast Address")});
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_table);
}

void NetworkPrefs::updateConfigurations() {
    m_configurationManager->updateConfigurations();
}

QString NetworkPrefs::defaultConfigurationName() const {
    return m_configurationManager->defaultConfiguration().name();
}

void NetworkPrefs::fillTable() {
    updateConfigurations();
    const QSignalBlocker blocker(m_table);
    m_table->clearContents();
    m_entries.clear();
    m_names.clear();
    const QString previousName = m_selectedName;
    const QString savedIp = QSettings().value(ipKey).toString();
    int rowToSelect = 0;

    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& networkInterface : interfaces) {
        if (!networkInterface.isValid() || !networkInterface.flags().testFlag(QNetworkInterface::IsUp))
            continue;
        const QList<QNetworkAddressEntry> addressEntries = networkInterface.addressEntries();
        for (const QNetworkAddressEntry& entry : addressEntries) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol || entry.ip() == QHostAddress::LocalHost ||
                entry.broadcast().toString().isEmpty())
                continue;
            m_entries.append(entry);
            m_names.append(networkInterface.humanReadableName());
        }
    }

    m_table->setRowCount(m_entries.size());
    for (int row = 0; row < m_entries.size(); ++row) {
        const QNetworkAddressEntry& entry = m_entries.at(row);
        QString address = entry.ip().toString();
        const QString netmask = entry.netmask().toString();
        if (!netmask.isEmpty())
            address += QLatin1Char('/') + netmask;
        const QStringList texts = {m_names.at(row), address, entry.broadcast().toString()};
        for (int column = 0; column < columnCount; ++column) {
            auto* item = new QTableWidgetItem(texts.at(column));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            m_table->setItem(row, column, item);
        }
        if (entry.ip().toString() == savedIp)
            rowToSelect = row;
    }
    // Within one run an interface keeps its row by name even when its address changed.
    if (!previousName.isEmpty() && m_names.contains(previousName))
        rowToSelect = m_names.indexOf(previousName);

    if (!m_entries.isEmpty())
        m_table->selectRow(rowToSelect);
    readSelection();
    updateDefaultInterfaceLabel();
    update();
}

void NetworkPrefs::updateDefaultInterfaceLabel() {
    QString name = defaultConfigurationName();
    if (name.isEmpty())
        name = m_names.isEmpty() ? tr("no connection") : m_names.first();
    m_defaultRadio->setText(tr("Use default interface (") + name + QLatin1Char(')'));
}

bool NetworkPrefs::wholeRowSelected() const {
    return m_table->selectedItems().size() == columnCount;
}

bool NetworkPrefs::readSelection() {
    const bool rowSelected = !m_entries.isEmpty() && wholeRowSelected();
    if (rowSelected) {
        const int row = m_table->selectedItems().first()->row();
        m_selectedIp = m_table->item(row, 1)->text().section(QLatin1Char('/'), 0, 0);
        m_selectedName = m_table->item(row, 0)->text();
        m_selectedIndex = row;
        for (int r = 0; r < m_table->rowCount(); ++r) {
            for (int column = 0; column < columnCount; ++column) {
                QTableWidgetItem* item = m_table->item(r, column);
                QFont font = item->font();
                font.setBold(r == row);
                item->setFont(font);
            }
        }
    }
    return rowSelected;
}

void NetworkPrefs::handleNetworkInterfaceSelectionChanged() {
    const bool rowSelected = readSelection();
    if (!m_live)
        return;

    QSettings settings;
    settings.setValue(defaultKey, m_defaultRadio->isChecked());
    const bool indexValid = m_selectedIndex >= 0 && m_selectedIndex < m_entries.size();
    if (rowSelected && indexValid)
        settings.setValue(ipKey, m_entries.at(m_selectedIndex).ip().toString());

    if (m_selectedRadio->isChecked() && rowSelected) {
        if (indexValid)
            emit interfaceChosen(m_entries.at(m_selectedIndex), m_selectedName);
        else
            qCWarning(lcComm)
                << "BUG: The requested network interface index is bigger than the network interface list size.";
        return;
    }
    const QString defaultName = defaultConfigurationName();
    const int index = m_names.indexOf(defaultName);
    emit interfaceChosen(index >= 0 ? m_entries.at(index) : anyAddressEntry(), defaultName);
}

void NetworkPrefs::handleUseDefaultInterfaceToggled(bool value) {
    updateConfigurations();
    if (value && m_live) {
        const QString defaultName = defaultConfigurationName();
        const int index = m_names.indexOf(defaultName);
        if (index < 0) {
            qCDebug(lcComm) << "&&&&&&&&&&&&&&&&&& could not find index of default";
        } else {
            emit interfaceChosen(m_entries.at(index), defaultName);
            QSettings().setValue(defaultKey, true);
        }
    }
    handleNetworkInterfaceSelectionChanged();
}

void NetworkPrefs::handleRefreshButtonClicked() {
    fillTable();
    handleNetworkInterfaceSelectionChanged();
}

QNetworkAddressEntry NetworkPrefs::currentAddressEntry() const {
    if (m_selectedRadio->isChecked() && m_selectedIndex >= 0 && m_selectedIndex < m_entries.size())
        return m_entries.at(m_selectedIndex);
    const int index = m_names.indexOf(defaultConfigurationName());
    if (index >= 0)
        return m_entries.at(index);
    if (!m_entries.isEmpty())
        return m_entries.first();
    return anyAddressEntry();
}

QString NetworkPrefs::hostAddress() const {
    if (m_selectedRadio->isChecked())
        return m_selectedIp;
    return currentAddressEntry().ip().toString();
}

QT_WARNING_POP
