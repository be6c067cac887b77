#pragma once

#include <QAbstractListModel>

namespace zelvar {

// The items "1", "2", ..., "n" without storing them, so that a data set of a
// hundred thousand DMUs gives lists that open at once.
class NumberListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit NumberListModel(int count, QObject *parent = nullptr)
        : QAbstractListModel(parent), m_count(count < 0 ? 0 : count)
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_count;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_count
            || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        return QString::number(index.row() + 1);
    }

private:
    int m_count;
};

} // namespace zelvar
