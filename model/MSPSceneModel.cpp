#include "MSPSceneModel.h"

#include "MSPScene.h"
#include "ModelLog.h"

#include <QDebug>

MSPSceneModel* MSPSceneModel::instance() {
    static MSPSceneModel* model = new MSPSceneModel();
    return model;
}

MSPSceneModel::MSPSceneModel(QObject* parent)
    : QAbstractListModel(parent) {
    insertRows(0, sceneCount);
    for (int row = 0; row < sceneCount; ++row) {
        auto* scene = new MSPScene(this);
        setData(index(row, 0), QVariant::fromValue(scene), Qt::EditRole);
        connect(scene, &MSPScene::effectParamsChanged, this, &MSPSceneModel::effectParamsChanged);
        connect(scene, &MSPScene::effectChanged, this, &MSPSceneModel::effectChanged);
    }
}

int MSPSceneModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_scenes.size();
}

QVariant MSPSceneModel::data(const QModelIndex& index, int /*role*/) const {
    if (!index.isValid() || index.row() >= m_scenes.size())
        return QVariant();
    return QVariant::fromValue(m_scenes.at(index.row()));
}

QVariant MSPSceneModel::headerData(int /*section*/, Qt::Orientation /*orientation*/, int /*role*/) const {
    return QVariant();
}

bool MSPSceneModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_scenes.size())
        return false;
    m_scenes[index.row()] = qobject_cast<MSPScene*>(value.value<QObject*>());
    emit dataChanged(index, index);
    return true;
}

bool MSPSceneModel::insertRows(int row, int count, const QModelIndex& /*parent*/) {
    if (row < 0 || row > m_scenes.size() || count <= 0) {
        qCWarning(lcModel) << "cannot insert" << count << "rows at" << row;
        return false;
    }
    beginInsertRows(QModelIndex(), row, row + count - 1);
    for (int i = 0; i < count; ++i)
        m_scenes.insert(row, nullptr);
    endInsertRows();
    return true;
}

bool MSPSceneModel::removeRows(int row, int count, const QModelIndex& /*parent*/) {
    if (row < 0 || row >= m_scenes.size() || count <= 0) {
        qCWarning(lcModel) << "cannot remove" << count << "rows at" << row;
        return false;
    }
    const int last = qMin(row + count, int(m_scenes.size())) - 1;
    beginRemoveRows(QModelIndex(), row, last);
    for (int i = row; i <= last; ++i)
        m_scenes.removeAt(row);
    endRemoveRows();
    return true;
}

MSPScene* MSPSceneModel::scene(int row) const {
    return qvariant_cast<MSPScene*>(data(index(row, 0), Qt::DisplayRole));
}

int MSPSceneModel::indexOf(MSPScene* scene) const {
    if (!scene)
        return -1;
    return m_scenes.indexOf(scene);
}

void MSPSceneModel::setActiveSceneIndex(int index, bool emitSignal) {
    if (index < 0 || index >= m_scenes.size()) {
        qCWarning(lcModel) << "no scene" << index << "to make active";
        return;
    }
    if (index == m_activeSceneIndex)
        return;
    m_activeSceneIndex = index;
    if (emitSignal)
        emit activeSceneIndexChanged(index);
}

bool MSPSceneModel::isUnsaved(int index) const {
    return index >= 0 && index < m_unsaved.size() && m_unsaved.at(index);
}

QList<int> MSPSceneModel::unsavedScenes() const {
    QList<int> scenes;
    for (int i = 0; i < m_unsaved.size(); ++i) {
        if (m_unsaved.at(i))
            scenes << i;
    }
    return scenes;
}

void MSPSceneModel::setUnsaved(int index, bool unsaved) {
    if (index < 0 || index >= sceneCount)
        return;
    while (m_unsaved.size() < sceneCount)
        m_unsaved << false;
    if (m_unsaved.at(index) == unsaved)
        return;
    m_unsaved[index] = unsaved;
    emit unsavedChanged(index, unsaved);
}

void MSPSceneModel::clearUnsaved() {
    for (int i = 0; i < m_unsaved.size(); ++i)
        setUnsaved(i, false);
}

void MSPSceneModel::handleSceneChangedEffect(int index) {
    if (index == m_activeSceneIndex)
        emit activeSceneChangedEffect();
}
