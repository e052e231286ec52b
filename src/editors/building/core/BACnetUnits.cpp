#include "editors/building/core/BACnetUnits.h"

#include <array>

namespace zfw {

namespace {

// Spellings are those the gateway's tools have always shown (77 "feet-per-meters", 51
// "housepower" and 103 "radiants" included): stored files and users' lists rely on them.
constexpr std::array<const char*, kBACnetUnitCount> kUnitNames = {
    "square-meters",                         // 0
    "square-feet",                           // 1
    "milliamperes",                          // 2
    "amperes",                               // 3
    "ohms",                                  // 4
    "volts",                                 // 5
    "kilovolts",                             // 6
    "megavolts",                             // 7
    "volt-amperes",                          // 8
    "kilovolt-amperes",                      // 9
    "megavolt-amperes",                      // 10
    "volt-amperes-reactive",                 // 11
    "kilovolt-amperes-reactive",             // 12
    "megavolt-amperes-reactive",             // 13
    "degrees-phase",                         // 14
    "power-factor",                          // 15
    "joules",                                // 16
    "kilojoules",                            // 17
    "watt-hours",                            // 18
    "kilowatt-hours",                        // 19
    "btus",                                  // 20
    "therms",                                // 21
    "ton-hours",                             // 22
    "joules-per-kilogram-dry-air",           // 23
    "btus-per-pound-dry-air",                // 24
    "cycles-per-hour",                       // 25
    "cycles-per-minute",                     // 26
    "hertz",                                 // 27
    "grams-of-water-per-kilogram-dry-air",   // 28
    "percent-relative-humidity",             // 29
    "millimeters",                           // 30
    "meters",                                // 31
    "inches",                                // 32
    "feet",                                  // 33
    "watts-per-square-foot",                 // 34
    "watts-per-square-meter",                // 35
    "lumens",                                // 36
    "luxes",                                 // 37
    "foot-candles",                          // 38
    "kilograms",                             // 39
    "pounds-mass",                           // 40
    "tons",                                  // 41
    "kilograms-per-second",                  // 42
    "kilograms-per-minute",                  // 43
    "kilograms-per-hour",                    // 44
    "pounds-mass-per-minute",                // 45
    "pounds-mass-per-hour",                  // 46
    "watts",                                 // 47
    "kilowatts",                             // 48
    "megawatts",                             // 49
    "btus-per-hour",                         // 50
    "housepower",                            // 51
    "tons-refrigeration",                    // 52
    "pascals",                               // 53
    "kilopascals",                           // 54
    "bars",                                  // 55
    "pounds-force-per-square-inch",          // 56
    "centimeters-of-water",                  // 57
    "inches-of-water",                       // 58
    "millimeters-of-mercury",                // 59
    "centimeters-of-mercury",                // 60
    "inches-of-mercury",                     // 61
    "degrees-Celsius",                       // 62
    "degrees-Kelvin",                        // 63
    "degrees-Fahrenheit",                    // 64
    "degree-days-Celsius",                   // 65
    "degree-days-Fahrenheit",                // 66
    "years",                                 // 67
    "months",                                // 68
    "weeks",                                 // 69
    "days",                                  // 70
    "hours",                                 // 71
    "minutes",                               // 72
    "seconds",                               // 73
    "meters-per-second",                     // 74
    "kilometers-per-hour",                   // 75
    "feet-per-second",                       // 76
    "feet-per-meters",                       // 77
    "miles-per-hour",                        // 78
    "cubic-feet",                            // 79
    "cubic-meters",                          // 80
    "imperial-gallons",                      // 81
    "liters",                                // 82
    "us-gallons",                            // 83
    "cubic-feet-per-minute",                 // 84
    "cubic-meters-per-second",               // 85
    "imperial-gallons-per-minute",           // 86
    "liters-per-second",                     // 87
    "liters-per-minute",                     // 88
    "us-gallons-per-minute",                 // 89
    "degrees-angular",                       // 90
    "degrees-Celsius-per-hour",              // 91
    "degrees-Celsius-per-minute",            // 92
    "degrees-Fahrenheit-per-hour",           // 93
    "degrees-Fahrenheit-per-minute",         // 94
    "no-units",                              // 95
    "parts-per-million",                     // 96
    "parts-per-billion",                     // 97
    "percent",                               // 98
    "percent-per-second",                    // 99
    "per-minute",                            // 100
    "per-second",                            // 101
    "psi-per-degree-Fahrenheit",             // 102
    "radiants",                              // 103
    "revolutions-per-minute",                // 104
    "currency1",                             // 105
    "currency2",                             // 106
    "currency3",                             // 107
    "currency4",                             // 108
    "currency5",                             // 109
    "currency6",                             // 110
    "currency7",                             // 111
    "currency8",                             // 112
    "currency9",                             // 113
    "currency10",                            // 114
    "square-inches",                         // 115
    "square-centimeters",                    // 116
    "btus-per-pound",                        // 117
    "centimeters",                           // 118
    "pounds-mass-per-second",                // 119
    "delta-degrees-Fahrenheit",              // 120
    "delta-degrees-Kelvin",                  // 121
    "kilohms",                               // 122
    "megohms",                               // 123
    "millivolts",                            // 124
    "kilojoules-per-kilogram",               // 125
    "megajoules",                            // 126
    "joules-per-degree-Kelvin",              // 127
    "btus-per-kilogram-degree-Kelvin",       // 128
    "kilohertz",                             // 129
    "megahertz",                             // 130
    "per-hour",                              // 131
    "milliwatts",                            // 132
    "hectopascals",                          // 133
    "millibars",                             // 134
    "cubic-meters-per-hour",                 // 135
    "liters-per-hour",                       // 136
    "kilowatt-hours-per-square-meter",       // 137
    "kilowatt-hours-per-square-foot",        // 138
    "megajoules-hours-per-square-meter",     // 139
    "megajoules-hours-per-square-foot",      // 140
    "watts-per-square-meter-degree-kelvin",  // 141
    "cubic-feet-per-second",                 // 142
    "percent-obscuration-per-foot",          // 143
    "percent-obscuration-per-meter",         // 144
    "milliohms",                             // 145
    "megawatt-hours",                        // 146
    "kilo-btus",                             // 147
    "mega-btus",                             // 148
    "kilojoules-per-kilogram-dry-air",       // 149
    "megajoules-per-kilogram-dry-air",       // 150
    "kilojoules-per-degree-Kelvin",          // 151
    "megajoules-per-degree-Kelvin",          // 152
    "newton",                                // 153
    "grams-per-second",                      // 154
    "grams-per-minute",                      // 155
    "tons-per-hour",                         // 156
    "kilo-btus-per-hour",                    // 157
    "hundredths-seconds",                    // 158
    "milliseconds",                          // 159
    "newton-meters",                         // 160
    "millimeters-per-second",                // 161
    "millimeters-per-minute",                // 162
    "meters-per-minute",                     // 163
    "meters-per-hour",                       // 164
    "cubic-meters-per-minute",               // 165
    "meters-per-second-per-second",          // 166
    "amperes-per-meter",                     // 167
    "amperes-per-square-meter",              // 168
    "ampere-square-meters",                  // 169
    "farads",                                // 170
    "henrys",                                // 171
    "ohm-meters",                            // 172
    "siemens",                               // 173
    "siemens-per-meter",                     // 174
    "teslas",                                // 175
    "volts-per-degree-Kelvin",               // 176
    "volts-per-meter",                       // 177
    "webers",                                // 178
    "candelas",                              // 179
    "candelas-per-square-meter",             // 180
    "degrees-Kelvin-per-hour",               // 181
    "degrees-Kelvin-per-minute",             // 182
    "joule-seconds",                         // 183
    "radians-per-second",                    // 184
    "square-meters-per-Newton",              // 185
    "kilograms-per-cubic-meter",             // 186
    "newton-seconds",                        // 187
    "newtons-per-meter",                     // 188
    "watts-per-meter-per-degree-Kelvin",     // 189
    "microsiemens",                          // 190
    "cubic-feet-per-hour",                   // 191
    "us-gallons-per-hour",                   // 192
    "kilometers",                            // 193
    "micrometers",                           // 194
    "grams",                                 // 195
    "milligrams",                            // 196
    "milliliters",                           // 197
    "milliliters-per-second",                // 198
    "decibels",                              // 199
    "decibels-millivolt",                    // 200
    "decibels-volt",                         // 201
    "millisiemens",                          // 202
    "watt-hours-reactive",                   // 203
    "kilowatt-hours-reactive",               // 204
    "megawatt-hours-reactive",               // 205
    "millimeters-of-water",                  // 206
    "per-mille",                             // 207
    "grams-per-gram",                        // 208
    "kilograms-per-kilogram",                // 209
    "grams-per-kilogram",                    // 210
    "milligrams-per-gram",                   // 211
    "milligrams-per-kilogram",               // 212
    "grams-per-milliliter",                  // 213
    "grams-per-liter",                       // 214
    "milligrams-per-liter",                  // 215
    "micrograms-per-liter",                  // 216
    "grams-per-cubic-meter",                 // 217
    "milligrams-per-cubic-meter",            // 218
    "micrograms-per-cubic-meter",            // 219
    "nanograms-per-cubic-meter",             // 220
    "grams-per-cubic-centimeter",            // 221
    "becquerels",                            // 222
    "kilobecquerels",                        // 223
    "megabecquerels",                        // 224
    "gray",                                  // 225
    "milligray",                             // 226
    "microgray",                             // 227
    "sieverts",                              // 228
    "millisieverts",                         // 229
    "microsieverts",                         // 230
    "microsieverts-per-hour",                // 231
    "decibels-a",                            // 232
    "nephelometric-turbidity-unit",          // 233
    "pH",                                    // 234
    "grams-per-square-meter",                // 235
    "minutes-per-degree-kelvin",             // 236
};

constexpr EngUnitEntry kCat0[] = {{166, nullptr}};
constexpr EngUnitEntry kCat1[] = {{0, nullptr}, {116, nullptr}, {1, nullptr}, {115, nullptr}};
constexpr EngUnitEntry kCat2[] = {{105, nullptr}, {106, nullptr}, {107, nullptr}, {108, nullptr},
                                  {109, nullptr}, {110, nullptr}, {111, nullptr}, {112, nullptr},
                                  {113, nullptr}, {114, nullptr}};
constexpr EngUnitEntry kCat3[] = {
    {2, nullptr},   {3, nullptr},         {167, nullptr}, {168, nullptr}, {169, nullptr},
    {199, nullptr}, {200, nullptr},       {201, nullptr}, {170, nullptr}, {171, nullptr},
    {4, nullptr},   {172, "ohms-meters"}, {145, nullptr}, {122, nullptr}, {123, nullptr},
    {190, nullptr}, {202, nullptr},       {173, nullptr}, {174, nullptr}, {175, nullptr},
    {5, nullptr},   {124, nullptr},       {6, nullptr},   {7, nullptr},   {8, nullptr},
    {9, nullptr},   {10, nullptr},        {11, nullptr},  {12, nullptr},  {13, nullptr},
    {176, nullptr}, {177, nullptr},       {14, nullptr},  {15, nullptr},  {178, nullptr}};
constexpr EngUnitEntry kCat4[] = {{16, nullptr},  {17, nullptr},  {125, nullptr}, {126, nullptr},
                                  {18, nullptr},  {19, nullptr},  {146, nullptr}, {203, nullptr},
                                  {204, nullptr}, {205, nullptr}, {20, nullptr},  {147, nullptr},
                                  {148, nullptr}, {21, nullptr},  {22, nullptr}};
constexpr EngUnitEntry kCat5[] = {
    {23, nullptr}, {149, nullptr}, {150, nullptr}, {24, nullptr}, {117, nullptr}};
constexpr EngUnitEntry kCat6[] = {{127, nullptr}, {151, nullptr}, {152, nullptr}, {128, nullptr}};
constexpr EngUnitEntry kCat7[] = {{153, nullptr}};
constexpr EngUnitEntry kCat8[] = {{25, nullptr},  {26, nullptr},  {27, nullptr},
                                  {129, nullptr}, {130, nullptr}, {131, nullptr}};
constexpr EngUnitEntry kCat9[] = {{28, nullptr}, {29, nullptr}};
constexpr EngUnitEntry kCat10[] = {{194, nullptr}, {30, nullptr}, {118, nullptr}, {193, nullptr},
                                   {31, nullptr},  {32, nullptr}, {33, nullptr}};
constexpr EngUnitEntry kCat11[] = {{179, nullptr}, {180, nullptr}, {34, nullptr}, {35, nullptr},
                                   {36, nullptr},  {37, nullptr},  {38, nullptr}};
constexpr EngUnitEntry kCat12[] = {
    {196, nullptr}, {195, nullptr}, {39, nullptr}, {40, nullptr}, {41, nullptr}};
constexpr EngUnitEntry kCat13[] = {{154, nullptr}, {155, nullptr}, {42, nullptr},
                                   {43, nullptr},  {44, nullptr},  {119, nullptr},
                                   {45, nullptr},  {46, nullptr},  {156, nullptr}};
constexpr EngUnitEntry kCat14[] = {{132, nullptr}, {47, nullptr},  {48, nullptr}, {49, nullptr},
                                   {50, nullptr},  {157, nullptr}, {51, nullptr}, {52, nullptr}};
constexpr EngUnitEntry kCat15[] = {{53, nullptr}, {133, nullptr}, {54, nullptr},  {134, nullptr},
                                   {55, nullptr}, {56, nullptr},  {206, nullptr}, {57, nullptr},
                                   {58, nullptr}, {59, nullptr},  {60, nullptr},  {61, nullptr}};
constexpr EngUnitEntry kCat16[] = {{62, nullptr},  {63, nullptr},  {181, nullptr},
                                   {182, nullptr}, {64, nullptr},  {65, nullptr},
                                   {66, nullptr},  {120, nullptr}, {121, nullptr}};
constexpr EngUnitEntry kCat17[] = {{67, nullptr}, {68, nullptr},  {69, nullptr},
                                   {70, nullptr}, {71, nullptr},  {72, nullptr},
                                   {73, nullptr}, {158, nullptr}, {159, nullptr}};
constexpr EngUnitEntry kCat18[] = {{160, nullptr}};
constexpr EngUnitEntry kCat19[] = {{161, nullptr}, {162, nullptr}, {74, nullptr},
                                   {163, nullptr}, {164, nullptr}, {75, nullptr},
                                   {76, nullptr},  {77, nullptr},  {78, nullptr}};
constexpr EngUnitEntry kCat20[] = {{79, nullptr},  {80, nullptr}, {81, nullptr},
                                   {197, nullptr}, {82, nullptr}, {83, nullptr}};
constexpr EngUnitEntry kCat21[] = {{142, nullptr}, {84, nullptr},  {191, nullptr}, {85, nullptr},
                                   {165, nullptr}, {135, nullptr}, {86, nullptr},  {198, nullptr},
                                   {87, nullptr},  {88, nullptr},  {136, nullptr}, {89, nullptr},
                                   {192, nullptr}};
constexpr EngUnitEntry kCat22[] = {{90, nullptr},
                                   {91, nullptr},
                                   {92, nullptr},
                                   {93, nullptr},
                                   {94, nullptr},
                                   {183, nullptr},
                                   {186, nullptr},
                                   {137, nullptr},
                                   {138, nullptr},
                                   {139, "megajoules-per-square-meter"},
                                   {140, "megajoules-per-square-foot"},
                                   {95, nullptr},
                                   {187, nullptr},
                                   {188, nullptr},
                                   {96, nullptr},
                                   {97, nullptr},
                                   {98, nullptr},
                                   {143, nullptr},
                                   {144, nullptr},
                                   {99, nullptr},
                                   {100, nullptr},
                                   {101, nullptr},
                                   {102, nullptr},
                                   {103, nullptr},
                                   {184, nullptr},
                                   {104, nullptr},
                                   {185, nullptr},
                                   {189, nullptr},
                                   {141, nullptr},
                                   {207, nullptr},
                                   {208, nullptr},
                                   {209, nullptr},
                                   {210, nullptr},
                                   {211, nullptr},
                                   {212, nullptr},
                                   {213, nullptr},
                                   {214, nullptr},
                                   {215, nullptr},
                                   {216, nullptr},
                                   {217, nullptr},
                                   {218, nullptr},
                                   {219, nullptr},
                                   {220, nullptr},
                                   {221, nullptr},
                                   {222, nullptr},
                                   {223, nullptr},
                                   {224, nullptr},
                                   {225, nullptr},
                                   {226, nullptr},
                                   {227, nullptr},
                                   {228, nullptr},
                                   {229, nullptr},
                                   {230, nullptr},
                                   {231, nullptr},
                                   {232, nullptr},
                                   {233, nullptr},
                                   {234, nullptr},
                                   {235, nullptr},
                                   {236, nullptr}};

constexpr EngUnitCategory kCategories[] = {
    {"Acceleration", kCat0}, {"Area", kCat1},
    {"Currency", kCat2},     {"Electrical", kCat3},
    {"Energy", kCat4},       {"Enthalpy", kCat5},
    {"Entropy", kCat6},      {"Force", kCat7},
    {"Frequency", kCat8},    {"Humidity", kCat9},
    {"Length", kCat10},      {"Light", kCat11},
    {"Mass", kCat12},        {"Mass Flow", kCat13},
    {"Power", kCat14},       {"Pressure", kCat15},
    {"Temperature", kCat16}, {"Time", kCat17},
    {"Torque", kCat18},      {"Velocity", kCat19},
    {"Volume", kCat20},      {"Volumetric Flow", kCat21},
    {"Other", kCat22},
};

}  // namespace

QString Desc_Unit(int Num_Unit)
{
    if (Num_Unit < 0 || Num_Unit >= kBACnetUnitCount)
        return QStringLiteral("unknown");
    return QString::fromLatin1(kUnitNames[std::size_t(Num_Unit)]);
}

std::span<const EngUnitCategory> engUnitCategories() { return kCategories; }

QString engUnitEntryText(const EngUnitEntry& entry)
{
    return entry.shownAs ? QString::fromLatin1(entry.shownAs) : Desc_Unit(entry.unit);
}

}  // namespace zfw
