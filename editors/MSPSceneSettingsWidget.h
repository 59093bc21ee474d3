#pragma once

#include <QVector>
#include <QWidget>

class MSPEffectWidget;
class MSPScene;
class MSPSceneModel;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QShowEvent;
class QStackedWidget;

// Edits the active scene: its effect kind, the parameters on the kind's editor page, and Save
// (keep the scene on the keypad) and Undo (take the keypad's scene back).
class MSPSceneSettingsWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPSceneSettingsWidget)

public:
    explicit MSPSceneSettingsWidget(QWidget* parent = nullptr);

    // The editor of a kind once it was first shown; null before.
    MSPEffectWidget* editor(int kind) const;

public slots:
    void on_revertButton_clicked();
    void on_applyButton_clicked();
    void on_effectsComboBox_currentIndexChanged(int index);
    void activeSceneChanged(int index);
    void handleActiveSceneChangedEffect();
    void handleSceneChangedEffect(MSPScene* scene);
    void handleEffectParametersChanged(MSPScene* scene);
    void handleIntermediateChange();
    void handleIntermediateChangeFinished();
    void clearPreviousSelection();
    virtual void setEnabled(bool enabled);

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void setSceneLabel(int index);
    MSPEffectWidget* ensureEditor(int kind);
    void showKind(int kind);
    void setButtonsEnabled(bool enabled);
    // The designed sizes hold at the default font; where a larger one makes the rows need more, the
    // form asks for it, so that nothing is pushed out of sight.
    void updateSizes();
    static bool connected();

    MSPSceneModel* m_model = nullptr;
    // The scene on show, which Save and Undo act on.
    int m_shownScene = 0;
    QLabel* m_sceneNumberLabel = nullptr;
    QHBoxLayout* m_effectRow = nullptr;
    QComboBox* m_effectsComboBox = nullptr;
    QStackedWidget* m_effectPropertiesStack = nullptr;
    QVector<MSPEffectWidget*> m_editors;
    QPushButton* m_revertButton = nullptr;
    QPushButton* m_applyButton = nullptr;
};
