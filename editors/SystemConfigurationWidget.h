#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;
class QSpinBox;

// The keypad's system configuration as a form: edited in the controls, checked as it is typed,
// written to the model and the keypad on Save.
class SystemConfigurationWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(SystemConfigurationWidget)

public:
    static constexpr int buttonCount = 11;

    explicit SystemConfigurationWidget(QWidget* parent = nullptr);

    void setAddressOnlyMode(bool on);

signals:
    void addressChanged();

public slots:
    void on_applyButton_clicked();
    virtual void setEnabled(bool enabled);

protected slots:
    void handleFieldChanged();
    void on_revertButton_clicked();
    void handleSysConfigChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Undo and Save are 23 pixels high at the default font, and as high as a larger one needs.
    void fitButtonsToFont();
    void buildForm();
    void loadFromModel();
    void fillFixtures(QComboBox* box) const;
    static void setTextColor(QLineEdit* edit, const QColor& color);
    static bool reachable(const QString& address);

    bool m_loading = false;
    QLineEdit* m_nameEdit = nullptr;
    QLineEdit* m_addressEdit = nullptr;
    QSpinBox* m_universeSpinBox = nullptr;
    QSpinBox* m_VexilModeSpinBox = nullptr;
    QSpinBox* m_lightsPerPortSpinBox = nullptr;
    QSpinBox* m_numberOfPortsSpinBox = nullptr;
    QHBoxLayout* m_fixtureRow = nullptr;
    QComboBox* m_fixtureClassComboBox = nullptr;
    QLabel* m_versionLabel = nullptr;
    QGroupBox* m_groupBox = nullptr;
    // Scenes 1-8, then down, up and on/off.
    QCheckBox* m_buttonBoxes[buttonCount] = {};
    QLabel* m_warningLabel = nullptr;
    QPushButton* m_revertButton = nullptr;
    QPushButton* m_applyButton = nullptr;
};
