// The MQTT topics' check: one table of publish and subscribe rows and the first message, exact
// texts included; the hidden columns left out; and the "$" rule of the templates.

#include "editors/iot/core/UMQTT_Set_TopicSpec.h"

#include "common/UComon.h"
#include "editors/iot/core/CheckRows.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

using test::Cells;

// A topic that passes every check; the cases change only what they test.
void setRow(RuleTable& t, int row, const Cells& changes)
{
    test::setCells(t, row,
                   {{"Topic", QStringLiteral("plant/t%1").arg(row)},
                    {"DataType", "Int"},
                    {"Dimension", "2"},
                    {"Position", "0"},
                    {"Template", "$VALUE$"}},
                   changes);
}

struct CheckCase {
    std::string name;
    std::vector<Cells> pub;  // rows 1, 2, ... of the publish table
    std::vector<Cells> sub;
    const char* message;                // "" when the check passes
    const char* hiddenInPub = nullptr;  // a shown column hidden for the case
};

class MqttSetTopicChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(MqttSetTopicChecks, FirstFaultAndItsMessage)
{
    RuleFileSpec spec = mqttSetTopicSpec();
    if (GetParam().hiddenInPub)
        spec.tables[0]
            .columns[spec.tables[0].col(QString::fromLatin1(GetParam().hiddenInPub))]
            .hidden = true;
    RuleFile f(spec);
    for (std::size_t r = 0; r < GetParam().pub.size(); ++r)
        setRow(f.tables[0], int(r) + 1, GetParam().pub[r]);
    for (std::size_t r = 0; r < GetParam().sub.size(); ++r)
        setRow(f.tables[1], int(r) + 1, GetParam().sub[r]);
    EXPECT_EQ(ruleFaultMessage(Controllo_dati(f), f.spec, test::defaultLanguage()).toStdString(),
              GetParam().message);
}

const char* const kPubPosition =
    "Error row 1!! [MQTT Publish] Position must be beetween 0 and 1499";
const char* const kSubPosition =
    "Error row 1!! [MQTT Subscribe] Position must be beetween 0 and 1499";
const char* const kTime = "Error row 1!! [MQTT Publish] Time(ms) must be between 1 and 1000000000";
const char* const kPubOther = "Error row 1!! [MQTT Publish] Dimension must be major of 0";

const CheckCase kCases[] = {
    {"Valid", {{}, {{"DataType", "Float"}, {"Dimension", "8"}}}, {{}}, ""},
    {"PubNoDataType",
     {{{"DataType", " "}}},
     {},
     "Error row 1!! [MQTT Publish] Data Type must be selected"},
    {"SubNoDataType",
     {},
     {{{"DataType", ""}}},
     "Error row 1!! [MQTT Subscribe] Data Type must be selected"},
    {"Float2",
     {{{"DataType", "Float"}, {"Dimension", "2"}}},
     {},
     "Error row 1!! [MQTT Publish] Dimension must be equal to 4 or 8"},
    {"Int3",
     {{{"DataType", "Int"}, {"Dimension", "3"}}},
     {},
     "Error row 1!! [MQTT Publish] Dimension must be equal to 1 or 2 or 4 or 8"},
    {"IntTypeReadTrimmedInAnyCase",
     {{{"DataType", " int "}, {"Dimension", "16"}}},
     {},
     "Error row 1!! [MQTT Publish] Dimension must be equal to 1 or 2 or 4 or 8"},
    {"String0", {{{"DataType", "String"}, {"Dimension", "0"}}}, {}, kPubOther},
    {"StringEmptyDimension", {{{"DataType", "String"}, {"Dimension", ""}}}, {}, kPubOther},
    {"Base64Of1", {{{"DataType", "Base64"}, {"Dimension", "1"}}}, {}, ""},
    {"SubFloat2",
     {},
     {{{"DataType", "Float"}, {"Dimension", "2"}}},
     "Error row 1!! [MQTT Subscribe] Dimension must be equal to 4 or 8"},
    {"SubInt3",
     {},
     {{{"DataType", "Int"}, {"Dimension", "3"}}},
     "Error row 1!! [MQTT Subscribe] Dimension must be equal to 1 or 2 or 4 or 8"},
    {"SubString0",
     {},
     {{{"DataType", "String"}, {"Dimension", "0"}}},
     "Error row 1!! [MQTT Subscribe] Dimension must be major of 0"},
    {"Position1499", {{{"Position", "1499"}}}, {{{"Position", "1499"}}}, ""},
    {"PubPosition1500", {{{"Position", "1500"}}}, {}, kPubPosition},
    {"PubPositionEmpty", {{{"Position", ""}}}, {}, kPubPosition},
    {"SubPosition1500", {}, {{{"Position", "1500"}}}, kSubPosition},
    {"SubPositionEmpty", {}, {{{"Position", " "}}}, kSubPosition},
    {"SamePositionTwice", {{{"Position", "7"}}, {{"Position", "7"}}}, {{{"Position", "7"}}}, ""},
    {"Time999999999", {{{"OnTimer", "Y"}, {"Time", "999999999"}}}, {}, ""},
    {"Time1000000000", {{{"OnTimer", "Y"}, {"Time", "1000000000"}}}, {}, kTime},
    {"Time0", {{{"OnTimer", "Y"}, {"Time", "0"}}}, {}, kTime},
    {"TimeOnTimerReadTrimmedInAnyCase", {{{"OnTimer", " y"}, {"Time", "0"}}}, {}, kTime},
    {"TimeNotCheckedWithoutTimer", {{{"OnTimer", "N"}, {"Time", "0"}}}, {}, ""},
    {"TimeNotCheckedWithEmptyTimer", {{{"OnTimer", ""}, {"Time", "abc"}}}, {}, ""},
    {"TemplateOneKeyword", {{{"Template", " $VALUE$ "}}}, {}, ""},
    {"TemplateTwoKeywords", {{{"Template", "{\"a\":$VALUE$,\n\"id\":$ID$}"}}}, {}, ""},
    {"TemplateWithoutKeyword", {{{"Template", ""}}}, {{{"Template", "plain"}}}, ""},
    {"PubTemplateOdd",
     {{{"Template", "$VALUE"}}},
     {},
     "Error row 1!! [MQTT Publish] Template not Correct, Check the Keywords"},
    {"SubTemplateOdd",
     {},
     {{{"Template", "$VALUE$ $"}}},
     "Error row 1!! [MQTT Subscribe] Template not Correct, Check the Keywords"},
    // An empty publish Topic ends the publish list; the subscribe list is still checked.
    {"PubListEndsAtEmptyTopic",
     {{}, {{"Topic", "  "}}, {{"Dimension", "3"}}},
     {{}, {{"Position", "1500"}}},
     "Error row 2!! [MQTT Subscribe] Position must be beetween 0 and 1499"},
    {"HiddenPositionIsNotChecked", {{{"Position", "99999"}}}, {}, "", "Position"},
    {"HiddenDimensionIsNotChecked",
     {{{"DataType", "Float"}, {"Dimension", "2"}}},
     {},
     "",
     "Dimension"},
    {"HiddenTemplateIsNotChecked", {{{"Template", "$"}}}, {}, "", "Template"},
};

INSTANTIATE_TEST_SUITE_P(Rows, MqttSetTopicChecks, ::testing::ValuesIn(kCases), test::CaseName());

}  // namespace
}  // namespace zfw
