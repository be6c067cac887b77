#include "DmuListView.h"

#include "NumberListModel.h"
#include "session/SelectionSet.h"

#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QScrollBar>

#include <algorithm>

namespace zelvar {

namespace {

// The items measured for the width: enough for the names of any sample,
// few enough that a list of a hundred thousand DMUs opens at once. The
// last item, the longest number, is measured as well.
constexpr int MeasuredItems = 2000;
// A list grows no wider than this; a longer name shows whole in its tooltip.
constexpr int MaxListWidth = 320;
// Room beside an item's text for its margins and the focus frame.
constexpr int ItemPadding = 12;

} // namespace

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
    fitWidth();
    showSelection();
}

void DmuListView::fitWidth()
{
    const int count = m_model->rowCount();
    const QFontMetrics metrics(font());
    int widest = 0;
    const auto measure = [&](int row) {
        widest = std::max(widest, metrics.horizontalAdvance(m_model->index(row).data().toString()));
    };
    for (int row = 0; row < std::min(count, MeasuredItems); ++row)
        measure(row);
    if (count > MeasuredItems)
        measure(count - 1);
    // The scroll bar is counted whether shown or not: a long list has one.
    const int chrome = 2 * frameWidth() + verticalScrollBar()->sizeHint().width() + 2 * spacing() + ItemPadding;
    setMinimumWidth(std::min(widest + chrome, MaxListWidth));
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
