#pragma once

#include <QListView>

#include <functional>
#include <string>
#include <vector>

namespace zelvar {

class NumberListModel;
class SelectionSet;

// A multi-selection list of the DMUs 1..n that shows and edits a
// SelectionSet: item d - 1 stands for DMU d, shown as its number and, when
// names are bound, its name. Clicking an item toggles it.
class DmuListView : public QListView {
    Q_OBJECT
public:
    explicit DmuListView(QWidget *parent = nullptr);

    // Binds the list to `selection` (which must outlive the binding) and
    // shows it. Null unbinds. names (DMUNames, by DMU number), when given,
    // must outlive the binding too.
    void bind(SelectionSet *selection, const std::vector<std::string> *names = nullptr);
    // Shows the set's selection again after it was changed elsewhere.
    void showSelection();
    // Called when the list receives the input focus.
    void setFocusHook(std::function<void()> hook) { m_onFocus = std::move(hook); }

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    void takeSelection(const QItemSelection &selected, const QItemSelection &deselected);
    // At least as wide as the items' texts, so that names are not cut.
    void fitWidth();

    NumberListModel *m_model = nullptr;
    SelectionSet *m_selection = nullptr;
    std::function<void()> m_onFocus;
    bool m_syncing = false;
};

} // namespace zelvar
