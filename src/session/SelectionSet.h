#pragma once

#include <vector>

namespace zelvar {

// One selection flag per DMU, as held by the model dialog's evaluation and
// technology lists. DMUs are numbered from 1 (list item d - 1 is DMU d).
class SelectionSet {
public:
    SelectionSet() = default;
    explicit SelectionSet(int count, bool selected = false)
        : m_flags(static_cast<std::size_t>(count), selected ? 1 : 0),
          m_selected(selected ? count : 0)
    {
    }

    int size() const { return static_cast<int>(m_flags.size()); }
    int selectedCount() const { return m_selected; }
    bool selected(int dmu) const { return m_flags[index(dmu)] != 0; }

    void select(int dmu, bool on)
    {
        char &flag = m_flags[index(dmu)];
        if ((flag != 0) != on) {
            m_selected += on ? 1 : -1;
            flag = on ? 1 : 0;
        }
    }
    void selectAll(bool on)
    {
        for (char &flag : m_flags)
            flag = on ? 1 : 0;
        m_selected = on ? size() : 0;
    }
    // DMUs first..last (inclusive, 1-based) selected, all others not.
    void selectRange(int first, int last)
    {
        for (int d = 1; d <= size(); ++d)
            select(d, d >= first && d <= last);
    }

    friend bool operator==(const SelectionSet &, const SelectionSet &) = default;

private:
    static std::size_t index(int dmu) { return static_cast<std::size_t>(dmu - 1); }

    std::vector<char> m_flags;
    int m_selected = 0;
};

} // namespace zelvar
