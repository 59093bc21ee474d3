#include "MSPChooser.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>

MSPChooser::MSPChooser(const QStringList& items, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("chooser"));
    resize(400, 121);
    const QString title = QCoreApplication::translate("chooser", "Choose an Lumetto Keypad");
    setWindowTitle(title);

    m_label = new QLabel(title, this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setGeometry(31, 12, 343, 20);

    m_devicesComboBox = new QComboBox(this);
    m_devicesComboBox->setObjectName(QStringLiteral("devicesComboBox"));
    m_devicesComboBox->setGeometry(31, 40, 343, 22);
    m_devicesComboBox->addItems(items);

    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    m_buttonBox->setGeometry(38, 77, 341, 32);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int MSPChooser::selectedIndex() const {
    if (m_devicesComboBox->count() == 0)
        return -1;
    return m_devicesComboBox->currentIndex();
}
