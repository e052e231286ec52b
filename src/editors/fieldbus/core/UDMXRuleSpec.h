#pragma once
// The DMX editor's table: the default value (0 to 255) and a mnemonic of every channel of
// the gateway's DMX universe, one "Row" per channel directly under the root of
// DMX_Default_Values.xml. The number of channels comes from the general parameters.

#include "ruleedit/core/URuleTable.h"

#include <QString>

#include <optional>

namespace zfw {

inline constexpr int kDMXMinChannels = 24;
inline constexpr int kDMXMaxChannels = 512;
// Text of the warning about a channel count outside kDMXMinChannels to kDMXMaxChannels.
inline constexpr int kDMXTextChannelsOutOfRange = 4013;

struct DMXChannelCount {
    int channels = kDMXMaxChannels;
    // The count the file gave when it lies outside kDMXMinChannels to kDMXMaxChannels; the
    // table then has kDMXMaxChannels channels.
    std::optional<int> outOfRange;
    QString parGenError;  // set, naming the file, when ParGen.xml exists but is no XML
};

// DMX_Num_Channels of the ParGen.xml at path, through the integer parse. A missing file or
// element, or a text that is no integer, gives kDMXMaxChannels without a word.
DMXChannelCount readDMXChannelCount(const QString& parGenPath);

// One row per channel, channels from 1.
RuleFileSpec dmxRuleSpec(int channels = kDMXMaxChannels);

}  // namespace zfw
