#include "editors/iot/UOPC_UA_Add_Server.h"

#include "common/UComon.h"
#include "common/UComonValidators.h"
#include "editors/iot/core/UOpcUaClientRules.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace zfw {

namespace {
constexpr int kClientWidth = 407;
constexpr int kLabelLeft = 16;
constexpr int kFieldLeft = 140;
constexpr int kFieldWidth = kClientWidth - kFieldLeft - 16;
constexpr int kFieldHeight = 22;
constexpr int kButtonBandHeight = 44;
// Where the user name and password stand while they are shown.
constexpr int kUserLabelTop = 171, kUserTop = 168;
constexpr int kPassLabelTop = 203, kPassTop = 200;
// The certificate and key rows while they are shown.
constexpr int kCertLabelTop = 171, kCertTop = 168;
constexpr int kKeyLabelTop = 271, kKeyTop = 268;
}  // namespace

TFOPC_UA_Add_Server::TFOPC_UA_Add_Server(const RuleEditorContext& context, QWidget* parent)
    : TModalForm(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("TFOPC_UA_Add_Server"));
    FormCreate();
}

QString TFOPC_UA_Add_Server::text(int n) const { return m_ctx.state->lang(n); }

void TFOPC_UA_Add_Server::FormCreate()
{
    setFont(QFont(QStringLiteral("Verdana"), 8));
    const TitlePanel title = makeTitlePanel(this, kClientWidth);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;

    auto label = [this](const char* name, int top) {
        return makeFormLabel(this, name, kLabelLeft, top);
    };
    auto edit = [this](const char* name, int top) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setGeometry(kFieldLeft, top, kFieldWidth, kFieldHeight);
        return e;
    };
    auto combo = [this](const char* name, int top, const QStringList& items) {
        auto* c = new QComboBox(this);
        c->setObjectName(QLatin1String(name));
        c->setGeometry(kFieldLeft, top, kFieldWidth, kFieldHeight);
        c->addItems(items);
        return c;
    };
    auto memo = [this](const char* name, int top) {
        auto* m = new QPlainTextEdit(this);
        m->setObjectName(QLatin1String(name));
        m->setGeometry(kFieldLeft, top, kFieldWidth, kOpcUaCertFieldHeight);
        return m;
    };

    CB_OPC_UA_Server_Enable = new QCheckBox(this);
    CB_OPC_UA_Server_Enable->setObjectName(QStringLiteral("CB_OPC_UA_Server_Enable"));
    CB_OPC_UA_Server_Enable->setGeometry(kFieldLeft, 72, kFieldWidth, kFieldHeight);
    L_Server_Add = label("L_Server_Add", 107);
    E_Server_Add = edit("E_Server_Add", 104);
    L_Auth = label("L_Auth", 139);
    CB_Auth = combo("CB_Auth", 136,
                    {QStringLiteral("Anonymous"), QStringLiteral("Username and Password"),
                     QStringLiteral("Certificate")});
    L_User = label("L_User", kUserLabelTop);
    E_User = edit("E_User", kUserTop);
    L_Pass = label("L_Pass", kPassLabelTop);
    E_Pass = edit("E_Pass", kPassTop);
    L_Certificate = label("L_Certificate", kCertLabelTop);
    RE_Certificate = memo("RE_Certificate", kCertTop);
    L_Priv_Key = label("L_Priv_Key", kKeyLabelTop);
    RE_Priv_Key = memo("RE_Priv_Key", kKeyTop);
    L_Sec_Type = label("L_Sec_Type", 171);
    CB_Sec_Type = combo("CB_Sec_Type", 168,
                        {QStringLiteral("None"), QStringLiteral("Sign"),
                         QStringLiteral("Sign and Encrypt")});
    L_Sec_Policy = label("L_Sec_Policy", 203);
    QStringList policies;
    for (int i = 0; i <= 5; ++i)
        policies << OPC_UA_Security_Policy_To_Str(i);
    CB_Sec_Policy = combo("CB_Sec_Policy", 200, policies);
    L_Mnemonic = label("L_Mnemonic", 235);
    E_Mnemonic = edit("E_Mnemonic", 232);

    P_Button = new QWidget(this);
    P_Button->setObjectName(QStringLiteral("P_Button"));
    Btn_OK = makeFormButton(P_Button, "Btn_OK", kClientWidth - 216, 6, 100, 32);
    Btn_Cancel = makeFormButton(P_Button, "Btn_Cancel", kClientWidth - 112, 6, 100, 32);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    Btn_Cancel->setModalResult(mrCancel);
    connect(Btn_OK, &QAbstractButton::clicked, this, &TFOPC_UA_Add_Server::Btn_OKClick);
    connect(CB_Auth, &QComboBox::currentIndexChanged, this, [this] { Change_Fields(); });
    connect(CB_Sec_Type, &QComboBox::currentIndexChanged, this, [this] { Check_Authorization(); });

    L_SW_Code->setText(m_ctx.buildCode);
    L_SW_Code->adjustSize();
    Set_Lang();
    Change_Fields();
    Check_Authorization();
}

void TFOPC_UA_Add_Server::Set_Lang()
{
    setWindowTitle(text(5600));
    L_SW_Desc->setText(text(5601));
    L_SW_Desc->adjustSize();
    auto put = [this](QLabel* l, int t) {
        l->setText(text(t));
        l->adjustSize();
    };
    CB_OPC_UA_Server_Enable->setText(text(5604));
    CB_OPC_UA_Server_Enable->setToolTip(text(5605));
    put(L_Server_Add, 5606);
    E_Server_Add->setToolTip(text(5607));
    put(L_Auth, 5608);
    CB_Auth->setToolTip(text(5609));
    put(L_User, 5610);
    E_User->setToolTip(text(5611));
    put(L_Pass, 5612);
    E_Pass->setToolTip(text(5613));
    put(L_Certificate, 5614);
    RE_Certificate->setToolTip(text(5615));
    put(L_Priv_Key, 5616);
    RE_Priv_Key->setToolTip(text(5617));
    put(L_Sec_Type, 5618);
    CB_Sec_Type->setToolTip(text(5619));
    put(L_Sec_Policy, 5620);
    CB_Sec_Policy->setToolTip(text(5621));
    put(L_Mnemonic, 5622);
    E_Mnemonic->setToolTip(text(5623));
    Btn_OK->setText(text(5624));
    Btn_OK->setToolTip(text(5625));
    Btn_Cancel->setText(text(5626));
    Btn_Cancel->setToolTip(text(5627));
}

void TFOPC_UA_Add_Server::FormShow()
{
    const bool modify = FormType == 2;
    if (modify) {
        setWindowTitle(text(5602));
    } else {
        setWindowTitle(text(5600));
        CB_OPC_UA_Server_Enable->setChecked(true);
        E_Server_Add->clear();
        E_User->clear();
        E_Pass->clear();
        E_Mnemonic->clear();
        RE_Certificate->clear();
        RE_Priv_Key->clear();
        CB_Auth->setCurrentIndex(0);
        CB_Sec_Type->setCurrentIndex(0);
    }
    // The subtitle says what the dialog does, as its caption does.
    L_SW_Desc->setText(text(modify ? 5602 : 5601));
    L_SW_Desc->adjustSize();
    Change_Fields();
    Check_Authorization();
    E_Server_Add->setFocus();
}

void TFOPC_UA_Add_Server::Change_Fields()
{
    const auto layout = opcUaDialogLayout(CB_Auth->currentIndex());
    if (layout) {
        for (QWidget* w : {static_cast<QWidget*>(L_User), static_cast<QWidget*>(E_User),
                           static_cast<QWidget*>(L_Pass), static_cast<QWidget*>(E_Pass)})
            w->setVisible(layout->userRows);
        for (QWidget* w :
             {static_cast<QWidget*>(L_Certificate), static_cast<QWidget*>(RE_Certificate),
              static_cast<QWidget*>(L_Priv_Key), static_cast<QWidget*>(RE_Priv_Key)})
            w->setVisible(layout->certRows);
        L_Sec_Type->move(kLabelLeft, layout->secTypeLabel);
        CB_Sec_Type->move(kFieldLeft, layout->secType);
        L_Sec_Policy->move(kLabelLeft, layout->policyLabel);
        CB_Sec_Policy->move(kFieldLeft, layout->policy);
        L_Mnemonic->move(kLabelLeft, layout->mnemonicLabel);
        E_Mnemonic->move(kFieldLeft, layout->mnemonic);
    }
    const int height = kButtonBandHeight + E_Mnemonic->y() + E_Mnemonic->height() + 15;
    P_Button->setGeometry(0, height - kButtonBandHeight, kClientWidth, kButtonBandHeight);
    setFixedClientSize(kClientWidth, height);
}

void TFOPC_UA_Add_Server::Check_Authorization()
{
    if (CB_Sec_Type->currentIndex() == 0) {
        CB_Sec_Policy->setCurrentIndex(0);
        CB_Sec_Policy->setEnabled(false);
    } else {
        CB_Sec_Policy->setEnabled(true);
    }
}

bool TFOPC_UA_Add_Server::Controlla_Dati()
{
    OpcUaServerDialogValues v;
    v.address = E_Server_Add->text();
    v.authIndex = CB_Auth->currentIndex();
    v.user = E_User->text();
    v.password = E_Pass->text();
    v.certificate = RE_Certificate->toPlainText();
    v.privateKey = RE_Priv_Key->toPlainText();
    const int fault = opcUaCheckServerDialog(v);
    if (fault == 0)
        return true;
    m_ctx.dialogs->showError(text(fault), this);
    return false;
}

void TFOPC_UA_Add_Server::Btn_OKClick()
{
    if (Controlla_Dati())
        done(mrOk);
}

}  // namespace zfw
