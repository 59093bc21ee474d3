#pragma once

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class UpdateChecker;

// Preferences of the update check: automatic checking, its interval, an HTTP proxy, "Check Now".
class UpdateDialog : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(UpdateDialog)

public:
    explicit UpdateDialog(QWidget* parent = nullptr);
    ~UpdateDialog() override;

    void loadPreferences();
    void showDialog();

public slots:
    void updateLastCheckedOnLabel();
    void resetUpdateLabel();

private slots:
    void on_m_checkForUpdatesNowButton_clicked();
    void savePreferences();

private:
    void buildForm();
    void updateIntervalEnabled();

    QCheckBox* m_proxyCheckBox = nullptr;
    QFrame* m_proxyFrame = nullptr;
    QLineEdit* m_proxyLineEdit = nullptr;
    QSpinBox* m_proxyPortSpinBox = nullptr;
    QLineEdit* m_usernameLineEdit = nullptr;
    QLineEdit* m_passwordLineEdit = nullptr;
    QCheckBox* m_autoCheckForUpdatesCheckbox = nullptr;
    QLabel* m_everyLabel = nullptr;
    QSpinBox* m_checkForUpdateEveryNDaysSpinBox = nullptr;
    QLabel* m_daysLabel = nullptr;
    QPushButton* m_checkForUpdatesNowButton = nullptr;
    QLabel* m_lastUpdatedLabel = nullptr;
    QDialogButtonBox* m_buttonBox = nullptr;
    UpdateChecker* m_checker = nullptr;
};
