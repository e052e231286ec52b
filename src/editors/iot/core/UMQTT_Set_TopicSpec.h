#pragma once
// The MQTT topics of a gateway that exchanges its internal data array over MQTT: the topics it
// publishes (table MQTT_Publish) and those it subscribes to (table MQTT_Subscribe) of
// MQTT_Set_Topic.xml, 1,024 each. A table's list ends at the first row whose Topic is blank.
//
// Each grid has columns of other gateway models (addresses, commands, DALI channels, Modbus
// swapping) that this model hides. A hidden column is never checked; OnCMD, Channel, Swap and
// Swap Word are not stored at all: they come back empty (OnCMD, Channel) or "N" (Swap, Swap
// Word) for every topic of the file.

#include "ruleedit/core/URuleTable.h"

namespace zfw {

inline constexpr int kMQTTTopics = 1024;
// Bytes of the internal data array a publish (Byte_IN) or subscribe (Byte_OUT) topic may
// address.
inline constexpr int kMQTTPositions = 1500;

// Real columns of the template cells, which a double click opens in the template dialog.
inline constexpr int kMQTTPubTemplateCol = 9;
inline constexpr int kMQTTSubTemplateCol = 11;

RuleFileSpec mqttSetTopicSpec(int Byte_IN = kMQTTPositions, int Byte_OUT = kMQTTPositions);

// True when the template is not well formed: its "$" signs, which enclose the keywords, are
// odd in number. Nothing else of the template is checked.
bool Error_In_Topic_Template(const QString& Str);

}  // namespace zfw
