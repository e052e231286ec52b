#pragma once
// "Definition of OPC UA Server Variables": the variables a gateway acting as an OPC UA server
// exposes, 250 rows of OPC_UA_Server.xml in a string grid whose Enable column holds real
// check boxes. The Length of a row follows its data type: fixed and read-only for the types
// of fixed size, 10 and editable for "String" and "ByteString".

#include "editors/iot/core/UOPC_UA_Server_AccessSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFOPC_UA_Server_Access final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFOPC_UA_Server_Access(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    TExtStringGrid* ESG = nullptr;

    // The items of the Type and R/W lists.
    const QStringList VarType = opcUaServerVarTypes();
    const QStringList RWType = opcUaServerRWTypes();

    bool Do_Copy() const { return copyFlag(0); }

    // The grid's editor for a cell: the Type and R/W cells a list of VarType or RWType, the
    // others the grid's text editor.
    void ESGGetEditorType(QObject* Sender, int ACol, int ARow, TEditorType& AEditor);
    // Row ARow's Length and its read-only state from the data type ASelection (a text that is
    // no data type changes neither), then "Read/Write" into an empty R/W cell.
    void VarSetLength(const QString& ASelection, int ACol, int ARow);

protected:
    RuleFileSpec prepareOpening() override { return opcUaServerSpec(); }
    QString filePath() const override;
    void built() override;
    void opened() override;
    void editorType(int table, int ACol, int ARow, TEditorType& AEditor) override;
    void comboChange(int table, int ACol, int ARow, int AItemIndex,
                     const QString& ASelection) override;

private:
    // After the frame's paste: the pasted row's Length cell takes the read-only state of its
    // type, and the pasted length stays.
    void afterPaste();
    void setLengthReadOnly(const QString& type, int ARow);
};

}  // namespace zfw
