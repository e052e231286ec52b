#pragma once
// "Known TLS certificates": the TLS server certificates the gateway trusts, pasted or typed
// whole into one cell each, with an enable box and a description, in TLS_Known_Cert.xml.

#include "editors/iot/core/UTLSCertRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFTLS_Server_Known_Cert final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFTLS_Server_Known_Cert(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    TExtStringGrid* ESG = nullptr;

    const QStringList& Hint_List() const { return hintList(0); }

protected:
    RuleFileSpec prepareOpening() override { return tlsKnownCertSpec(); }
    QString filePath() const override;
    void built() override;
    void opened() override;
};

}  // namespace zfw
