#pragma once
// BACnet engineering units: the name of every unit number the gateway knows (0 to 236), and
// the 23 categories the unit picker offers them in. Names are fixed English texts, the same
// in every language.

#include <QString>

#include <span>

namespace zfw {

inline constexpr int kBACnetUnitCount = 237;

// The name of the unit; "unknown" for any other number, negative ones included.
QString Desc_Unit(int Num_Unit);

struct EngUnitEntry {
    int unit;
    const char* shownAs;  // the text the picker shows for it; null: the unit's own name
};

struct EngUnitCategory {
    const char* name;
    std::span<const EngUnitEntry> entries;  // in list order
};

// The categories in list order.
std::span<const EngUnitCategory> engUnitCategories();
// The text the picker's unit list shows for an entry.
QString engUnitEntryText(const EngUnitEntry& entry);

}  // namespace zfw
