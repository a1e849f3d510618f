#include "platform/xkb/KeymapRules.h"

#include <algorithm>
#include <bit>

namespace klt::xkb {

std::optional<unsigned> ShiftStateOf(std::span<const unsigned> levelMasks, unsigned shiftMask,
                                     unsigned level3Mask) {
    std::optional<unsigned> best;
    for (const unsigned mask : levelMasks) {
        if ((mask & ~(shiftMask | level3Mask)) != 0) {
            continue;
        }
        const unsigned state =
            ((mask & shiftMask) ? kShiftBit : 0) | ((mask & level3Mask) ? kCtrlBit | kAltBit : 0);
        if (!best || std::popcount(state) < std::popcount(*best)) {
            best = state;
        }
    }
    return best;
}

void KeepFewestModifiers(std::unordered_map<char32_t, KeyScan>& characters, char32_t character,
                         const KeyScan& scan) {
    auto [it, added] = characters.try_emplace(character, scan);
    if (!added && std::popcount(scan.shiftState) < std::popcount(it->second.shiftState)) {
        it->second = scan;
    }
}

bool IsLetterKey(std::span<const unsigned> secondLevelMasks, unsigned lockMask) {
    return lockMask != 0 &&
           std::find(secondLevelMasks.begin(), secondLevelMasks.end(), lockMask) != secondLevelMasks.end();
}

bool CanLendTwoSlots(unsigned level3Mask, bool hasFourLevelType) {
    return level3Mask != 0 && hasFourLevelType;
}

} // namespace klt::xkb
