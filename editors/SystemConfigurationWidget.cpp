#include "SystemConfigurationWidget.h"

#include "ColorUtils.h"
#include "ConnectionState.h"
#include "IP4Validator.h"
#include "MSPComm.h"
#include "SystemConfiguration.h"
#include "SystemConfigurationCheck.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The texts keep the context of the form they were first laid out in.
struct SysConfig {
    Q_DECLARE_TR_FUNCTIONS(SysConfig)
};

constexpr int ButtonHeight = 23;
constexpr int LabelWidth = 120;

struct ButtonForm {
    const char* name;
    const char* text;
    bool (SystemConfiguration::*state)() const;
    void (SystemConfiguration::*setState)(bool, bool);
};

const ButtonForm ButtonForms[SystemConfigurationWidget::buttonCount] = {
    {"scene1CheckBox", QT_TRANSLATE_NOOP("SysConfig", "Scene 1"), &SystemConfiguration::scene1CheckBoxState,
     &SystemConfiguration::setScene1CheckBoxState},
    {"scene2CheckBox", QT_TRANSLATE_NOOP("SysConfig", "Scene 2"), &SystemConfiguration::scene2CheckBoxState,
     &SystemConfiguration::setScene2CheckBoxState},
    {"scene3CheckBox", QT_TRANSLATE_NOOP("SysConfig", "Scene 3"), &SystemConfiguration::scene3CheckBoxState,
     &SystemConfiguration::setScene3CheckBoxState},
    {"scene4CheckBox", QT_TRANSLATE_NOOP("SysConfig", "Scene 4"), &SystemConfiguration::scene4CheckBoxState,
     &SystemConfiguration::setScene4CheckBoxState},
    {"scene5CheckBox", QT_TRANSLATE_NOOP("SysConfig", "Scene 5"), &SystemConfiguration::scene5CheckBoxState,
     &SystemConfiguration::setScene5CheckBoxState},
    {"scene6CheckBox", QT_TRANSLATE_NOOP("SysConfig", "Scene 6"), &SystemConfiguration::scene6CheckBoxState,
     &SystemConfiguration::setScene6CheckBoxState},
    {"scene7CheckBox", QT_TRANSLATE_NOOP("SysConfig", "Scene 7"), &SystemConfiguration::scene7CheckBoxState,
     &SystemConfiguration::setScene7CheckBoxState},
    {"scene8CheckBox", QT_TRANSLATE_NOOP("SysConfig", "Scene 8"), &SystemConfiguration::scene8CheckBoxState,
     &SystemConfiguration::setScene8CheckBoxState},
    {"downCheckBox", QT_TRANSLATE_NOOP("SysConfig", "Down"), &SystemConfiguration::downCheckBoxState,
     &SystemConfiguration::setDownCheckBoxState},
    {"upCheckBox", QT_TRANSLATE_NOOP("SysConfig", "Up"), &SystemConfiguration::upCheckBoxState,
     &SystemConfiguration::setUpCheckBoxState},
    {"onOffCheckBox", QT_TRANSLATE_NOOP("SysConfig", "On/Off"), &SystemConfiguration::onOffCheckBoxState,
     &SystemConfiguration::setOnOffCheckBoxState},
};

constexpr int DownBox = 8;
constexpr int UpBox = 9;
constexpr int OnOffBox = 10;

QString red(const QString& text) {
    return QStringLiteral("<font color='red'>") + text + QStringLiteral("</font>");
}

// The label names its field for screen readers too.
QLabel* rowLabel(const QString& text, QWidget* parent, QWidget* field = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setMinimumWidth(LabelWidth);
    label->setBuddy(field);
    return label;
}

QSpinBox* spinBox(const char* name, const SystemConfigurationCheck::Range& range, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(range.minimum, range.maximum);
    box->setMinimumWidth(80);
    return box;
}

} // namespace

SystemConfigurationWidget::SystemConfigurationWidget(QWidget* parent)
    : QWidget(parent) {
    buildForm();
    fitButtonsToFont();
    fillFixtures(m_fixtureClassComboBox);

    connect(m_nameEdit, &QLineEdit::textEdited, this, &SystemConfigurationWidget::handleFieldChanged);
    connect(m_addressEdit, &QLineEdit::textEdited, this, &SystemConfigurationWidget::handleFieldChanged);
    for (QSpinBox* box : {m_universeSpinBox, m_VexilModeSpinBox, m_lightsPerPortSpinBox, m_numberOfPortsSpinBox})
        connect(box, QOverload<int>::of(&QSpinBox::valueChanged), this, &SystemConfigurationWidget::handleFieldChanged);
    for (QCheckBox* box : m_buttonBoxes)
        connect(box, &QCheckBox::stateChanged, this, &SystemConfigurationWidget::handleFieldChanged);
    connect(m_fixtureClassComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SystemConfigurationWidget::handleFieldChanged);
    connect(SystemConfiguration::instance(), &SystemConfiguration::configurationChanged, this,
            &SystemConfigurationWidget::handleSysConfigChanged);
    QMetaObject::connectSlotsByName(this);

    m_nameEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(SystemConfigurationCheck::namePattern()), m_nameEdit));
    m_addressEdit->setValidator(new IP4Validator(m_addressEdit));
    m_revertButton->setEnabled(false);
    m_applyButton->setEnabled(false);
}

void SystemConfigurationWidget::buildForm() {
    setObjectName(QStringLiteral("SysConfig"));
    setWindowTitle(SysConfig::tr("Form"));
    setMinimumSize(2, 0);
    setMaximumSize(2000, 2000);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setLabelAlignment(Qt::AlignLeft);
    form->setVerticalSpacing(4);

    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setMaxLength(SystemConfigurationCheck::nameMaximumLength);
    m_nameEdit->setFixedWidth(240);
    form->addRow(rowLabel(SysConfig::tr("Name:"), this, m_nameEdit), m_nameEdit);

    m_addressEdit = new QLineEdit(this);
    m_addressEdit->setObjectName(QStringLiteral("addressEdit"));
    m_addressEdit->setMaxLength(15);
    // At least wide enough for the longest address in the desktop's font.
    m_addressEdit->setFixedWidth(
        qMax(100, m_addressEdit->fontMetrics().horizontalAdvance(QStringLiteral("255.255.255.255")) + 16));
    form->addRow(rowLabel(SysConfig::tr("Address:"), this, m_addressEdit), m_addressEdit);

    m_universeSpinBox = spinBox("universeSpinBox", SystemConfigurationCheck::universeRange, this);
    form->addRow(rowLabel(SysConfig::tr("Universe:"), this, m_universeSpinBox), m_universeSpinBox);
    m_VexilModeSpinBox = spinBox("VexilModeSpinBox", SystemConfigurationCheck::VexilModeRange, this);
    form->addRow(rowLabel(SysConfig::tr("Vexil Mode:"), this, m_VexilModeSpinBox), m_VexilModeSpinBox);
    m_lightsPerPortSpinBox = spinBox("lightsPerPortSpinBox", SystemConfigurationCheck::lightsPerPortRange, this);
    form->addRow(rowLabel(SysConfig::tr("Lights per Port:"), this, m_lightsPerPortSpinBox), m_lightsPerPortSpinBox);
    m_numberOfPortsSpinBox = spinBox("numberOfPortsSpinBox", SystemConfigurationCheck::numberOfPortsRange, this);
    form->addRow(rowLabel(SysConfig::tr("Number of Ports:"), this, m_numberOfPortsSpinBox), m_numberOfPortsSpinBox);

    m_fixtureRow = new QHBoxLayout;
    m_fixtureRow->setContentsMargins(0, 0, 0, 0);
    m_fixtureClassComboBox = new QComboBox(this);
    m_fixtureClassComboBox->setObjectName(QStringLiteral("fixtureClassComboBox"));
    m_fixtureClassComboBox->setAccessibleName(SysConfig::tr("Fixture"));
    m_fixtureRow->addWidget(m_fixtureClassComboBox);
    m_fixtureRow->addStretch(1);
    form->addRow(rowLabel(SysConfig::tr("Fixture:"), this), m_fixtureRow);

    m_versionLabel = new QLabel(this);
    m_versionLabel->setObjectName(QStringLiteral("versionLabel"));
    m_versionLabel->setMaximumHeight(29);
    form->addRow(rowLabel(SysConfig::tr("Firmware Version:"), this), m_versionLabel);
    layout->addLayout(form);

    m_groupBox = new QGroupBox(SysConfig::tr("Enabled Buttons"), this);
    m_groupBox->setObjectName(QStringLiteral("groupBox"));
    auto* grid = new QGridLayout(m_groupBox);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < buttonCount; ++i) {
        auto* box = new QCheckBox(SysConfig::tr(ButtonForms[i].text), m_groupBox);
        box->setObjectName(QLatin1String(ButtonForms[i].name));
        m_buttonBoxes[i] = box;
    }
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(m_buttonBoxes[i], i, 0);
        grid->addWidget(m_buttonBoxes[i + 4], i, 1);
    }
    grid->addWidget(m_buttonBoxes[DownBox], 4, 0);
    grid->addWidget(m_buttonBoxes[UpBox], 4, 1);
    grid->addWidget(m_buttonBoxes[OnOffBox], 5, 0);
    layout->addWidget(m_groupBox);

    m_warningLabel = new QLabel(this);
    m_warningLabel->setObjectName(QStringLiteral("warningLabel"));
    m_warningLabel->setWordWrap(true);
    m_warningLabel->setTextFormat(Qt::RichText);
    layout->addWidget(m_warningLabel);
    layout->addStretch(1);

    auto* buttonRow = new QHBoxLayout;
    m_revertButton = new QPushButton(SysConfig::tr("Undo"), this);
    m_revertButton->setObjectName(QStringLiteral("revertButton"));
    m_applyButton = new QPushButton(SysConfig::tr("Save"), this);
    m_applyButton->setObjectName(QStringLiteral("applyButton"));
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_revertButton);
    buttonRow->addWidget(m_applyButton);
    layout->addLayout(buttonRow);
}

void SystemConfigurationWidget::fillFixtures(QComboBox* box) const {
    const QSignalBlocker blocker(box);
    box->addItems(ColorUtils::hueformProfileIDNameList());
}

void SystemConfigurationWidget::fitButtonsToFont() {
    const int height = qMax(ButtonHeight, fontMetrics().height() + 8);
    m_revertButton->setFixedHeight(height);
    m_applyButton->setFixedHeight(height);
}

void SystemConfigurationWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitButtonsToFont();
}

void SystemConfigurationWidget::showEvent(QShowEvent* event) {
    const int current = m_fixtureClassComboBox->currentIndex();
    const int position = m_fixtureRow->indexOf(m_fixtureClassComboBox);
    QComboBox* old = m_fixtureClassComboBox;
    QWidget* before = old->previousInFocusChain();
    old->hide();
    m_fixtureRow->removeWidget(old);
    old->setObjectName(QString());
    old->disconnect(this);
    old->deleteLater();

    m_fixtureClassComboBox = new QComboBox(this);
    m_fixtureClassComboBox->setObjectName(QStringLiteral("fixtureClassComboBox"));
    m_fixtureClassComboBox->setAccessibleName(SysConfig::tr("Fixture"));
    m_fixtureRow->insertWidget(position, m_fixtureClassComboBox);
    // Tab reaches the new box where it reached the old one, not after Save.
    setTabOrder(before, m_fixtureClassComboBox);
    fillFixtures(m_fixtureClassComboBox);
    {
        const QSignalBlocker blocker(m_fixtureClassComboBox);
        m_fixtureClassComboBox->setCurrentIndex(current);
    }
    m_fixtureClassComboBox->setEnabled(old->isEnabledTo(this));
    m_fixtureClassComboBox->show();
    connect(m_fixtureClassComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SystemConfigurationWidget::handleFieldChanged);
    QWidget::showEvent(event);
}

void SystemConfigurationWidget::setTextColor(QLineEdit* edit, const QColor& color) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, color);
    edit->setPalette(palette);
}

bool SystemConfigurationWidget::reachable(const QString& address) {
    return MSPComm::isOnLocalSubnet(address);
}

void SystemConfigurationWidget::loadFromModel() {
    SystemConfiguration* config = SystemConfiguration::instance();
    m_loading = true;
    m_warningLabel->clear();
    setTextColor(m_nameEdit, Qt::black);

    m_nameEdit->setText(config->name());
    m_addressEdit->setText(config->ipAddress());
    // The load is no user edit: the spin boxes and the combo box stay silent while they are set.
    {
        const QSignalBlocker b1(m_universeSpinBox), b2(m_VexilModeSpinBox), b3(m_lightsPerPortSpinBox),
            b4(m_numberOfPortsSpinBox), b5(m_fixtureClassComboBox);
        m_universeSpinBox->setValue(config->universe());
        m_VexilModeSpinBox->setValue(config->VexilMode());
        m_lightsPerPortSpinBox->setValue(config->lightsPerPort());
        m_numberOfPortsSpinBox->setValue(config->numberOfPorts());
        m_fixtureClassComboBox->setCurrentIndex(ColorUtils::hueformProfileIDList().indexOf(config->fixtureClass()));
    }
    m_versionLabel->setText(config->version());
    m_revertButton->setEnabled(false);
    m_applyButton->setEnabled(false);

    using ButtonGate = SystemConfigurationCheck::ButtonGate;
    const ButtonGate gate = SystemConfigurationCheck::buttonGate(config->version());
    if (gate != ButtonGate::Unknown) {
        m_groupBox->setEnabled(gate == ButtonGate::Open);
        for (int i = 0; i < buttonCount; ++i) {
            const QSignalBlocker blocker(m_buttonBoxes[i]);
            m_buttonBoxes[i]->setChecked(gate == ButtonGate::Closed || (config->*ButtonForms[i].state)());
        }
    }
    m_loading = false;
}

void SystemConfigurationWidget::handleSysConfigChanged() {
    loadFromModel();
}

void SystemConfigurationWidget::handleFieldChanged() {
    if (m_loading || ConnectionState::instance()->state() == ConnectionState::OfflineDemo)
        return;
    m_revertButton->setEnabled(true);
    QString warning;

    QString address = m_addressEdit->text();
    int position = 0;
    const bool addressValid = m_addressEdit->validator()->validate(address, position) == QValidator::Acceptable;
    if (addressValid) {
        if (!reachable(address)) {
            warning = red(SystemConfigurationCheck::unreachableAddressMessage());
            // Red and warned about, but the focus stays where the user types: taking it would send
            // the next keys of another field into the address.
            setTextColor(m_addressEdit, QColor(255, 0, 0));
        } else {
            setTextColor(m_addressEdit, Qt::black);
        }
    }

    const bool nameValid = !m_nameEdit->isEnabled() || SystemConfigurationCheck::isValidName(m_nameEdit->text());
    if (!nameValid)
        warning += QStringLiteral("<br><br>") + red(SystemConfigurationCheck::emptyNameMessage());
    setTextColor(m_nameEdit, nameValid ? QColor(Qt::black) : QColor(255, 0, 0));

    bool sceneStates[SystemConfiguration::sceneCount] = {};
    for (int i = 0; i < SystemConfiguration::sceneCount; ++i)
        sceneStates[i] = m_buttonBoxes[i]->isChecked();
    const bool anySceneEnabled = SystemConfigurationCheck::anySceneEnabled(sceneStates);
    if (!anySceneEnabled)
        warning += QStringLiteral("<br><br>") + red(SystemConfigurationCheck::noSceneButtonMessage());

    if (!warning.isEmpty()) {
        m_warningLabel->setText(warning);
        m_warningLabel->setStyleSheet(QStringLiteral("QLabel { color: red; }"));
        m_warningLabel->show();
    } else {
        m_warningLabel->hide();
    }
    m_applyButton->setEnabled(addressValid && nameValid && anySceneEnabled);
}

void SystemConfigurationWidget::on_applyButton_clicked() {
    m_revertButton->setEnabled(false);
    m_applyButton->setEnabled(false);
    SystemConfiguration* config = SystemConfiguration::instance();
    const QString address = m_addressEdit->text();
    const bool newAddress = address != config->ipAddress();

    config->setName(m_nameEdit->text(), false);
    if (newAddress)
        config->setIpAddress(address, false);
    config->setUniverse(m_universeSpinBox->value(), false);
    config->setVexilMode(m_VexilModeSpinBox->value(), false);
    config->setLightsPerPort(m_lightsPerPortSpinBox->value(), false);
    config->setNumberOfPorts(m_numberOfPortsSpinBox->value(), false);
    const QList<ColorUtils::HueformProfileID> profiles = ColorUtils::hueformProfileIDList();
    const int fixture = m_fixtureClassComboBox->currentIndex();
    if (fixture >= 0 && fixture < profiles.size())
        config->setFixtureClass(profiles.at(fixture), false);
    for (int i = 0; i < buttonCount; ++i) {
        const ButtonForm& form = ButtonForms[i];
        (config->*form.setState)(m_buttonBoxes[i]->isChecked(), false);
    }

    if (ConnectionState::instance()->state() != ConnectionState::Connected)
        return;
    MSPComm::instance()->sendConfiguration(config->PostData(false, false), newAddress ? address : QString());
    if (newAddress)
        emit addressChanged();
}

void SystemConfigurationWidget::on_revertButton_clicked() {
    m_revertButton->setEnabled(false);
    m_applyButton->setEnabled(false);
    m_warningLabel->hide();
    loadFromModel();
    setTextColor(m_nameEdit, Qt::black);
    setTextColor(m_addressEdit, Qt::black);
}

void SystemConfigurationWidget::setEnabled(bool enabled) {
    if (enabled && ConnectionState::instance()->state() == ConnectionState::OfflineDemo) {
        m_revertButton->setEnabled(false);
        m_applyButton->setEnabled(false);
    }
    QWidget::setEnabled(enabled);
}

void SystemConfigurationWidget::setAddressOnlyMode(bool on) {
    for (QWidget* field : std::initializer_list<QWidget*>{m_nameEdit, m_universeSpinBox, m_VexilModeSpinBox,
                                                          m_lightsPerPortSpinBox, m_numberOfPortsSpinBox})
        field->setEnabled(!on);
    m_addressEdit->setEnabled(true);
    if (!on) {
        setTextColor(m_addressEdit, Qt::black);
        return;
    }
    if (!reachable(m_addressEdit->text())) {
        setTextColor(m_addressEdit, QColor(255, 0, 0));
        QWidget* focus = QApplication::focusWidget();
        if (!focus || !isAncestorOf(focus))
            m_addressEdit->setFocus();
    }
}
