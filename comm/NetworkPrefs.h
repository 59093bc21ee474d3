#pragma once

#include <QDialog>
#include <QList>
#include <QNetworkAddressEntry>
#include <QString>
#include <QStringList>

class QNetworkConfigurationManager;
class QPushButton;
class QRadioButton;
class QTableWidget;

// The "Network" page: follow the system's default interface or pin one of the machine's IPv4
// interfaces. The choice is remembered and announced with interfaceChosen().
class NetworkPrefs : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(NetworkPrefs)

public:
    // Without a manager one is created as a child. A page that is not live neither stores nor
    // announces selection changes.
    NetworkPrefs(QNetworkConfigurationManager* manager, QWidget* parent, bool live);

    QNetworkAddressEntry currentAddressEntry() const;
    QString hostAddress() const;

    // The name of the system's default network configuration, empty when there is none.
    QString defaultConfigurationName() const;

signals:
    void interfaceChosen(QNetworkAddressEntry hostAddressEntry, QString name);

public slots:
    // Announces the choice in force; the main window calls it once at start-up.
    void announceCurrentChoice() { handleNetworkInterfaceSelectionChanged(); }

private slots:
    void handleNetworkInterfaceSelectionChanged();
    void handleUseDefaultInterfaceToggled(bool value);
    void handleRefreshButtonClicked();
    void updateDefaultInterfaceLabel();

private:
    void buildForm();
    bool wholeRowSelected() const;
    // Takes the selected row's address and name and shows it in bold; false when no whole row is selected.
    bool readSelection();
    void updateConfigurations();
    void fillTable();

    QRadioButton* m_defaultRadio = nullptr;
    QRadioButton* m_selectedRadio = nullptr;
    QPushButton* m_refreshButton = nullptr;
    QTableWidget* m_table = nullptr;

    QList<QNetworkAddressEntry> m_entries;
    QString m_selectedIp;
    int m_selectedIndex = -1;
    QString m_selectedName;
    QNetworkConfigurationManager* m_configurationManager = nullptr;
    QStringList m_names;
    bool m_live = false;
};
