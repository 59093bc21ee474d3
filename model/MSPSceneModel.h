#pragma once

#include <QAbstractListModel>
#include <QList>

class MSPScene;

// The eight scenes of the keypad, row i holding scene i + 1, and the index of the active one.
class MSPSceneModel : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int sceneCount = 8;

    static MSPSceneModel* instance();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    // Null for a row that does not exist.
    MSPScene* scene(int row) const;
    int indexOf(MSPScene* scene) const;

    int activeSceneIndex() const { return m_activeSceneIndex; }
    void setActiveSceneIndex(int index, bool emitSignal = true);

    // Scenes the keypad plays with edits it has not saved: they are gone when it restarts. Set by
    // an edit sent to the keypad; cleared by Save ("apply=1"), Undo ("apply=0"), a file written to
    // the keypad and a factory reset.
    bool isUnsaved(int index) const;
    // Indexes in order.
    QList<int> unsavedScenes() const;
    void setUnsaved(int index, bool unsaved);
    void clearUnsaved();

signals:
    void activeSceneChangedEffect();
    void activeSceneIndexChanged(int index);
    void effectParamsChanged(MSPScene* scene);
    void effectChanged(MSPScene* scene);
    void unsavedChanged(int index, bool unsaved);

private slots:
    void handleSceneChangedEffect(int index);

private:
    // The document check reads into a scratch copy; everyone else shares instance().
    friend class MSPDocument;
    explicit MSPSceneModel(QObject* parent = nullptr);
    Q_DISABLE_COPY(MSPSceneModel)

    QList<MSPScene*> m_scenes;
    int m_activeSceneIndex = 0;
    QList<bool> m_unsaved;
};
