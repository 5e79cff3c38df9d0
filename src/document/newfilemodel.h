#pragma once

#include <QAbstractListModel>
#include <QIcon>

// The one-row list of a picture made in memory: it has no file yet, only a blank decoration.
class NewFileModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit NewFileModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QIcon m_icon;
};
