#include "session/FormatDialogState.h"

namespace zelvar {

namespace {

int entryOf(std::int16_t decimals) { return DisplayFormat::clampDecimals(decimals) - 1; }

std::int16_t decimalsOf(int entry) { return DisplayFormat::clampDecimals(entry + 1LL); }

} // namespace

FormatDialogState::FormatDialogState(const DisplayFormat &format)
    : Combo1{entryOf(format.DecScore), entryOf(format.DecWeights), entryOf(format.DecIntensities),
             entryOf(format.DecSlacks)},
      m_pendingVirtual(format.VirtualWeights)
{
}

std::string FormatDialogState::entryText(int index) { return std::to_string(index + 1); }

void FormatDialogState::cmdOK(DisplayFormat &format) const
{
    format.DecScore = decimalsOf(Combo1[Score]);
    format.DecWeights = decimalsOf(Combo1[Weights]);
    format.DecIntensities = decimalsOf(Combo1[Intensities]);
    format.DecSlacks = decimalsOf(Combo1[Slacks]);
    format.VirtualWeights = m_pendingVirtual;
}

} // namespace zelvar
