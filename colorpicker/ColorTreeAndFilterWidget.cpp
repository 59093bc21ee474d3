#include "ColorTreeAndFilterWidget.h"

#include "ColorPickerDialogs.h"
#include "ColorPickerIcons.h"
#include "FilterBox.h"
#include "ZelColorLibrary.h"
#include "ZelColorLibraryTreeView.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QSettings>
#include <QToolButton>
#include <QVBoxLayout>

namespace ZelColorPickerLib {

namespace {

QString& sharedFilter() {
    static QString text;
    return text;
}

const QString ExportDirKey = QStringLiteral("colorPickerExportDir");

} // namespace

QString ColorTreeAndFilterWidget::lastFilter() {
    return sharedFilter();
}

ColorTreeAndFilterWidget::ColorTreeAndFilterWidget(QWidget* parent)
    : QWidget(parent)
    , m_buttonBar(new QWidget(this))
    , m_filter(new ZelWidgetsLib::FilterBox(this))
    , m_treeView(new ZelColorLibraryTreeView(this)) {
    setObjectName(QStringLiteral("ColorTreeAndFilterWidget"));
    m_buttonBar->setObjectName(QStringLiteral("colorTreeButtonBar"));
    m_newGroupButton = makeButton(QStringLiteral("newGroupButton"), QStringLiteral(":/images/addColorGroup.png"),
                                  tr("Create New User Group"), tr("Create a new User Group."));
    m_loadGroupButton = makeButton(QStringLiteral("loadGroupButton"), QStringLiteral(":/images/importColors.png"),
                                   tr("Import Group..."), tr("Import swatches from a file to a new User Group."));
    m_exportButton = makeButton(QStringLiteral("exportButton"), QStringLiteral(":/images/exportIcon.png"),
                                tr("Export Swatches..."), tr("Export selected swatches to a file."));
    m_exportButton->setEnabled(false);

    auto* bar = new QHBoxLayout(m_buttonBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(1);
    bar->addWidget(m_newGroupButton);
    bar->addWidget(m_loadGroupButton);
    bar->addWidget(m_exportButton);

    m_filter->setObjectName(QStringLiteral("treeViewFilter"));
    m_filter->setPlaceholderText(tr("Filter colors"));
    m_filter->setAccessibleName(tr("Filter colors"));
    m_treeView->setAccessibleName(tr("Color library"));

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(4);
    top->addWidget(m_filter, 1);
    top->addWidget(m_buttonBar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(m_treeView, 1);

    connect(m_newGroupButton, &QToolButton::clicked, this, &ColorTreeAndFilterWidget::handleNewGroupButtonClicked);
    connect(m_loadGroupButton, &QToolButton::clicked, this, &ColorTreeAndFilterWidget::handleLoadGroupFromFile);
    connect(m_exportButton, &QToolButton::clicked, this, &ColorTreeAndFilterWidget::handleExportSwatchesButtonClicked);
    connect(m_filter, &QLineEdit::textChanged, m_treeView, &ZelColorLibraryTreeView::handleFilterChanged);
    connect(m_filter, &QLineEdit::textChanged, this, &ColorTreeAndFilterWidget::handleFilterChanged);
    connect(m_treeView, &ZelColorLibraryTreeView::selectionChangedSignal, this,
            &ColorTreeAndFilterWidget::handleSelectionChanged);
    connect(m_treeView, &ZelColorLibraryTreeView::showed, this, &ColorTreeAndFilterWidget::reloadSavedFilter);
}

QToolButton* ColorTreeAndFilterWidget::makeButton(const QString& objectName, const QString& icon, const QString& text,
                                                  const QString& toolTip) {
    auto* button = new QToolButton(m_buttonBar);
    button->setObjectName(objectName);
    button->setIcon(ColorPickerIcons::icon(icon));
    button->setText(text);
    button->setToolTip(toolTip);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(QSize(18, 18));
    button->setAutoRaise(true);
    return button;
}

void ColorTreeAndFilterWidget::handleNewGroupButtonClicked() {
    ZelColorLibrary* library = ZelColorLibrary::Instance();
    const QString name = library->createColorList(tr("New Color Group"), true);
    const QModelIndex list = library->getIndexOfList(name);
    if (!list.isValid())
        return;
    // The new group is named at once, where it appears.
    m_treeView->scrollTo(list);
    m_treeView->setCurrentIndex(list);
    m_treeView->edit(list);
}

void ColorTreeAndFilterWidget::handleLoadGroupFromFile() {
    QSettings settings;
    const QString start = settings.value(ExportDirKey, QDir::homePath()).toString();
    const QString path = ColorPickerDialogs::getOpenFileName(this, tr("Load Color Group From File"), start,
                                                             tr("Zel Color Files (*.zelcolors);;All Files (*.* *)"));
    if (path.isEmpty())
        return;
    settings.setValue(ExportDirKey, QFileInfo(path).absolutePath());
    ZelColorLibrary::Instance()->loadUserColors(path);
}

void ColorTreeAndFilterWidget::handleExportSwatchesButtonClicked() {
    m_treeView->handleExportRequest();
}

void ColorTreeAndFilterWidget::handleSelectionChanged(QItemSelection selected, QItemSelection deselected) {
    Q_UNUSED(selected)
    Q_UNUSED(deselected)
    m_exportButton->setEnabled(m_treeView->selectionModel()->hasSelection());
}

void ColorTreeAndFilterWidget::handleFilterChanged(QString text) {
    sharedFilter() = text;
}

void ColorTreeAndFilterWidget::reloadSavedFilter() {
    if (m_filter->text() != sharedFilter())
        m_filter->setText(sharedFilter());
}

} // namespace ZelColorPickerLib
