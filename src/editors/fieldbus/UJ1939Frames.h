#pragma once
// The J1939 frame windows: "J1939 Received Frames" (J1939_Rec_Frames.xml), the parameter
// groups the gateway takes from the bus into its 1440-byte input area, and "J1939
// Transmitted Frames" (J1939_Send_Frames.xml), those it sends from its 512-byte output area.

#include "editors/fieldbus/core/UJ1939RuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

// A frame window (J1939 and NMEA 2000): one grid "sga", 337 pixels high.
RuleEditorNames frameWindowNames(const char* form, int clientWidth);

class TFReceiveJ1939 final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFReceiveJ1939(const RuleEditorContext& context, QWidget* parent = nullptr);

    TRuleGrid* sga = nullptr;  // null until the first showing
    // Size of the input area, set at each opening.
    int NUM_BYTE_IN = kJ1939InputArea;

    const QStringList& Hint_ReceiveJ1939() const { return hintList(0); }
    bool Do_Copy() const { return copyFlag(0); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

class TFTransmitJ1939 final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFTransmitJ1939(const RuleEditorContext& context, QWidget* parent = nullptr);

    TRuleGrid* sga = nullptr;  // null until the first showing
    // Size of the output area, set at each opening.
    int NUM_BYTE_OUT = kJ1939OutputArea;

    const QStringList& Hint_TransmitJ1939() const { return hintList(0); }
    bool Do_Copy() const { return copyFlag(0); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

}  // namespace zfw
