#include "DmuListView.h"

#include "NumberListModel.h"
#include "session/SelectionSet.h"

#include <QItemSelectionModel>

namespace zelvar {

DmuListView::DmuListView(QWidget *parent) : QListView(parent)
{
    setSelectionMode(QAbstractItemView::MultiSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setLayoutMode(QListView::Batched);
}

void DmuListView::bind(SelectionSet *selection, const std::vector<std::string> *names)
{
    m_selection = selection;
    QAbstractItemModel *old = model();
    QItemSelectionModel *oldSelection = selectionModel();
    m_model = new NumberListModel(selection != nullptr ? selection->size() : 0, this, names);
    setModel(m_model);
    delete oldSelection;
    if (old != nullptr && old->parent() == this)
        delete old;
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DmuListView::takeSelection);
    showSelection();
}

// Consecutive selected DMUs become one range: a selection of all hundred
// thousand DMUs is one range, not a hundred thousand.
void DmuListView::showSelection()
{
    if (m_selection == nullptr)
        return;
    QItemSelection ranges;
    const int count = m_selection->size();
    int d = 1;
    while (d <= count) {
        if (!m_selection->selected(d)) {
            ++d;
            continue;
        }
        const int first = d;
        while (d <= count && m_selection->selected(d))
            ++d;
        ranges.select(m_model->index(first - 1), m_model->index(d - 2));
    }
    m_syncing = true;
    selectionModel()->select(ranges, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
}

void DmuListView::takeSelection(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (m_syncing || m_selection == nullptr)
        return;
    for (const QItemSelectionRange &range : deselected)
        for (int row = range.top(); row <= range.bottom(); ++row)
            m_selection->select(row + 1, false);
    for (const QItemSelectionRange &range : selected)
        for (int row = range.top(); row <= range.bottom(); ++row)
            m_selection->select(row + 1, true);
}

void DmuListView::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    if (m_onFocus)
        m_onFocus();
}

} // namespace zelvar
