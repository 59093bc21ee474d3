#pragma once

#include <QItemSelection>
#include <QWidget>

class QToolButton;

namespace ZelWidgetsLib {
class FilterBox;
}

namespace ZelColorPickerLib {

class ZelColorLibraryTreeView;

/**
 * The colour library beside a colour picker: a filter box and buttons to create, import and
 * export groups above the library tree. The last filter text is shared by every such widget
 * in the process, so a newly opened editor shows the library as the user left it.
 */
class ColorTreeAndFilterWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ColorTreeAndFilterWidget)

public:
    explicit ColorTreeAndFilterWidget(QWidget* parent = nullptr);

    ZelColorLibraryTreeView* treeView() const { return m_treeView; }
    /** The filter text every tree widget last had. */
    static QString lastFilter();

public slots:
    void handleNewGroupButtonClicked();
    void handleLoadGroupFromFile();
    void handleExportSwatchesButtonClicked();
    void handleSelectionChanged(QItemSelection selected, QItemSelection deselected);
    void handleFilterChanged(QString text);
    void reloadSavedFilter();

private:
    QToolButton* makeButton(const QString& objectName, const QString& icon, const QString& text,
                            const QString& toolTip);

    QWidget* m_buttonBar;
    QToolButton* m_newGroupButton;
    QToolButton* m_loadGroupButton;
    QToolButton* m_exportButton;
    ZelWidgetsLib::FilterBox* m_filter;
    ZelColorLibraryTreeView* m_treeView;
};

} // namespace ZelColorPickerLib
