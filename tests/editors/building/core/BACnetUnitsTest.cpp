// The engineering-unit table and the picker's categories.

#include "editors/building/core/BACnetUnits.h"
#include "support/CaseName.h"

#include <QList>

#include <limits>

#include <gtest/gtest.h>

namespace zfw {
namespace {

TEST(BACnetUnits, EveryNumberStandsInExactlyOneCategory)
{
    QList<int> seen(kBACnetUnitCount, 0);
    int entries = 0;
    for (const EngUnitCategory& c : engUnitCategories())
        for (const EngUnitEntry& e : c.entries) {
            ASSERT_GE(e.unit, 0) << c.name;
            ASSERT_LT(e.unit, kBACnetUnitCount) << c.name;
            ++seen[e.unit];
            ++entries;
        }
    EXPECT_EQ(engUnitCategories().size(), 23u);
    EXPECT_EQ(entries, kBACnetUnitCount);
    for (int n = 0; n < kBACnetUnitCount; ++n)
        EXPECT_EQ(seen[n], 1) << n;
}

struct EntryCase {
    const char* name;
    const char* category;
    const char* shown;  // the entry's text in the list
    int unit;
    const char* unitName;  // Desc_Unit of the number
};

const EntryCase kEntryCases[] = {
    {"PerMille", "Other", "per-mille", 207, "per-mille"},
    {"OhmMetersShownAsOhmsMeters", "Electrical", "ohms-meters", 172, "ohm-meters"},
    {"MegajoulesPerSquareMeter", "Other", "megajoules-per-square-meter", 139,
     "megajoules-hours-per-square-meter"},
    {"MegajoulesPerSquareFoot", "Other", "megajoules-per-square-foot", 140,
     "megajoules-hours-per-square-foot"},
    {"AreaFirstEntry", "Area", "square-meters", 0, "square-meters"},
    {"Celsius", "Temperature", "degrees-Celsius", 62, "degrees-Celsius"},
    {"LastNumber", "Other", "minutes-per-degree-kelvin", 236, "minutes-per-degree-kelvin"},
};

class EngUnitEntryText : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EngUnitEntryText, ListTextAndUnitName)
{
    const EntryCase& c = GetParam();
    const EngUnitEntry* found = nullptr;
    for (const EngUnitCategory& cat : engUnitCategories())
        if (QLatin1String(cat.name) == QLatin1String(c.category))
            for (const EngUnitEntry& e : cat.entries)
                if (engUnitEntryText(e) == QLatin1String(c.shown))
                    found = &e;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->unit, c.unit);
    EXPECT_EQ(Desc_Unit(c.unit), QLatin1String(c.unitName));
}

INSTANTIATE_TEST_SUITE_P(Entries, EngUnitEntryText, ::testing::ValuesIn(kEntryCases),
                         test::CaseName());

TEST(BACnetUnits, NumbersWithoutANameAreUnknown)
{
    for (int n : {-1, 237, 65535, std::numeric_limits<int>::min()})
        EXPECT_EQ(Desc_Unit(n), QStringLiteral("unknown")) << n;
    EXPECT_EQ(QLatin1String(engUnitCategories().front().name), QLatin1String("Acceleration"));
}

}  // namespace
}  // namespace zfw
