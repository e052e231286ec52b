#pragma once
// The three small dialogs of a scan: the key of an encrypted wireless meter, the first Modbus
// register when a scan is appended to a network, and one start register per scanned node.
// Each checks its input on OK and closes with OK only when it is valid. Their texts are set
// once, when they are made.

#include "controls/FormParts.h"

#include <QStringList>

#include <vector>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;

namespace zfw {

class IUserDialogs;
class TExtColumnGrid;

class TFInsertKeyWireless final : public TModalForm {
    Q_OBJECT
public:
    explicit TFInsertKeyWireless(QWidget* parent = nullptr, IUserDialogs* dialogs = nullptr);

    void Set_Lang() override;
    void Btn_OKClick();
    // True when every character is 0-9 or A-F (the empty key too).
    static bool Check_Data(const QString& key);

    QFrame* Shape1 = nullptr;
    QLabel* L_InsKey = nullptr;
    QLineEdit* E_Key = nullptr;  // upper case as typed, at most 32 characters
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;

private:
    IUserDialogs* m_dialogs;
};

class TFScanModbusStart final : public TModalForm {
    Q_OBJECT
public:
    explicit TFScanModbusStart(QWidget* parent = nullptr, IUserDialogs* dialogs = nullptr);

    // The accepted register, read by the caller after OK.
    int StartModAdd = 1;

    void Set_Lang() override;
    void Btn_OKClick();

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* L_StartModAdd = nullptr;
    QLineEdit* E_StartModAdd = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;

private:
    IUserDialogs* m_dialogs;
};

class TFModbusStartAdd_SD final : public TModalForm {
    Q_OBJECT
public:
    explicit TFModbusStartAdd_SD(QWidget* parent = nullptr, IUserDialogs* dialogs = nullptr);

    void Set_Lang() override;
    void Btn_OKClick();
    // Shows the message of the first faulty row; true when every row is valid.
    bool Check_Data();

    // One data row per node: column "M-Bus ID" from ids, "Modbus Start Address" set to "1".
    void setNodes(const QStringList& ids);
    // Column "Modbus Start Address" of the data rows, in order.
    std::vector<QString> startRegisters() const;
    void setStartRegister(int dataRow, const QString& text);

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QCheckBox* CB_En_NodeState = nullptr;
    QCheckBox* CB_En_IndNum = nullptr;
    TExtColumnGrid* sga = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;

private:
    IUserDialogs* m_dialogs;
    int m_dataRows = 0;
};

}  // namespace zfw
