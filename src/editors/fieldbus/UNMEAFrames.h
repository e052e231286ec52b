#pragma once
// The NMEA 2000 frame windows: "NMEA 2000 Received Frames" (NMEA_Rec_Frames.xml), the parameter
// groups the gateway takes from the bus into its 512-byte input area, and "NMEA 2000
// Transmitted Frames" (NMEA_Send_Frames.xml), those it sends from its 512-byte output area.

#include "editors/fieldbus/core/UNMEARuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFReceiveNMEA final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFReceiveNMEA(const RuleEditorContext& context, QWidget* parent = nullptr);

    TRuleGrid* sga = nullptr;  // null until the first showing
    // Size of the input area, set at each opening.
    int NUM_BYTE_IN = kNmeaInputArea;

    const QStringList& Hint_ReceiveNMEA() const { return hintList(0); }
    bool Do_Copy() const { return copyFlag(0); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

class TFTransmitNMEA final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFTransmitNMEA(const RuleEditorContext& context, QWidget* parent = nullptr);

    TRuleGrid* sga = nullptr;  // null until the first showing
    // Size of the output area, set at each opening.
    int NUM_BYTE_OUT = kNmeaOutputArea;

    const QStringList& Hint_TransmitNMEA() const { return hintList(0); }
    bool Do_Copy() const { return copyFlag(0); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

}  // namespace zfw
