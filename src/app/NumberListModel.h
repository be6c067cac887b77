#pragma once

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace zelvar {

// The items "1", "2", ..., "n" without storing them, so that a data set of a
// hundred thousand DMUs gives lists that open at once. With names, item d - 1
// reads "d  name", the name being names[d] without its four-character mark.
class NumberListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // names, when given, must outlive the model.
    explicit NumberListModel(int count, QObject *parent = nullptr,
                             const std::vector<std::string> *names = nullptr)
        : QAbstractListModel(parent), m_count(count < 0 ? 0 : count), m_names(names)
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_count;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        // With names the tooltip repeats the text: a name too long for the
        // list shows whole.
        const bool tip = role == Qt::ToolTipRole && m_names != nullptr;
        if (!index.isValid() || index.row() >= m_count || (role != Qt::DisplayRole && role != Qt::EditRole && !tip))
            return {};
        const int d = index.row() + 1;
        if (m_names == nullptr || static_cast<std::size_t>(d) >= m_names->size())
            return QString::number(d);
        const std::string &name = (*m_names)[static_cast<std::size_t>(d)];
        if (name.size() <= 4)
            return QString::number(d);
        return QString::number(d) + QStringLiteral("  ") + QString::fromStdString(name.substr(4));
    }

private:
    int m_count;
    const std::vector<std::string> *m_names;
};

} // namespace zelvar
