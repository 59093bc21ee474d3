#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QDialogButtonBox;
class QLabel;

// Lets the user pick one keypad when discovery found several.
class MSPChooser : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(MSPChooser)

public:
    MSPChooser(const QStringList& items, QWidget* parent);

    // -1 when there is nothing to choose from.
    int selectedIndex() const;

private:
    QLabel* m_label = nullptr;
    QComboBox* m_devicesComboBox = nullptr;
    QDialogButtonBox* m_buttonBox = nullptr;
};
