#pragma once

#include "session/DisplayFormat.h"

#include <array>
#include <string>

namespace zelvar {

// The display format dialog without widgets: four lists offering 1..8
// decimals (scores, weights, intensities, slacks) and the choice between pure
// weights and virtual inputs/outputs. The Qt dialog mirrors it.
//
// One instance lives for the whole process and is only hidden between
// showings, so a later showing presents the lists as they were left: equal to
// the settings after OK, still holding the abandoned choices after Cancel.
class FormatDialogState {
public:
    // Positions of the lists in Combo1, top to bottom.
    enum List { Score = 0, Weights = 1, Intensities = 2, Slacks = 3 };
    static constexpr int ListCount = 4;
    // Entry n - 1 of each list reads n.
    static constexpr int EntryCount = DisplayFormat::MaxDecimals;

    // The dialog's load: every list selects the entry of its setting, a value
    // outside 1..8 first brought to the nearer of 1 and 8 so that each list
    // always has a selection; the weights choice follows VirtualWeights.
    explicit FormatDialogState(const DisplayFormat &format);

    // Text of entry `index` of every list ("1" .. "8").
    [[nodiscard]] static std::string entryText(int index);

    // Selected entry of each list, indexed by List.
    std::array<int, ListCount> Combo1{};

    void clickPure() { m_pendingVirtual = false; }
    void clickVirtual() { m_pendingVirtual = true; }
    [[nodiscard]] bool isPureSelected() const { return !m_pendingVirtual; }
    [[nodiscard]] bool isVirtualSelected() const { return m_pendingVirtual; }

    // OK: writes the four decimals and the weights choice into `format`. An
    // index outside the lists (none selected) is read as the nearest entry.
    void cmdOK(DisplayFormat &format) const;
    // Cancel: no setting changes and the lists keep what the user chose.
    void cmdCancel() {}

private:
    bool m_pendingVirtual = true;
};

} // namespace zelvar
