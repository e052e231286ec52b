#include "editors/building/UBACnet_Eng_Unit.h"

#include "common/UComon.h"
#include "editors/building/BuildingFormParts.h"
#include "editors/building/core/BACnetUnits.h"
#include "platform/Dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace zfw {

namespace {

constexpr int kClientWidth = 548;
constexpr int kClientHeight = 306;

QComboBox* makeList(QWidget* parent, const char* name, QRect at)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(false);
    c->setGeometry(at);
    return c;
}

}  // namespace

TFBACnet_Eng_Unit::TFBACnet_Eng_Unit(const RuleEditorContext& context, QWidget* parent)
    : TModalForm(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("TFBACnet_Eng_Unit"));
    FormCreate();
}

QString TFBACnet_Eng_Unit::Desc_Unit(int Num_Unit) { return zfw::Desc_Unit(Num_Unit); }

void TFBACnet_Eng_Unit::FormCreate()
{
    applyCreamFormLook(this);
    const TitlePanel title = makeCodedTitlePanel(this, kClientWidth, m_ctx.buildCode);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;

    Label1 = makeFormLabel(this, "Label1", 16, 72);
    E_Selected_EU = new QLineEdit(this);
    E_Selected_EU->setObjectName(QStringLiteral("E_Selected_EU"));
    E_Selected_EU->setGeometry(250, 68, 80, 22);
    Label5 = makeFormLabel(this, "Label5", 340, 72);
    Label5->setText(QStringLiteral("-> unknown"));
    Label5->adjustSize();

    Label2 = makeFormLabel(this, "Label2", 16, 108);
    Label3 = makeFormLabel(this, "Label3", 16, 134);
    CB_Select_Type = makeList(this, "CB_Select_Type", QRect(16, 152, 200, 22));
    Label4 = makeFormLabel(this, "Label4", 232, 134);
    CB_Select_Unit = makeList(this, "CB_Select_Unit", QRect(232, 152, 300, 22));
    for (const EngUnitCategory& c : engUnitCategories())
        CB_Select_Type->addItem(QString::fromLatin1(c.name));
    CB_Select_Type->setCurrentIndex(0);
    Btn_Select_Eng_Unit = makeFormButton(this, "Btn_Select_Eng_Unit", 16, 188, 516, 32);
    Btn_OK = makeFormButton(this, "Btn_OK", 328, 262, 100, 32);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", 432, 262, 100, 32);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    Btn_OK->setModalResult(mrOk);
    Btn_Cancel->setModalResult(mrCancel);

    connect(CB_Select_Type, &QComboBox::activated, this, [this](int) { CB_Select_TypeSelect(); });
    connect(Btn_Select_Eng_Unit, &QAbstractButton::clicked, this,
            &TFBACnet_Eng_Unit::Btn_Select_Eng_UnitClick);

    setFixedClientSize(kClientWidth, kClientHeight);
    Set_Lang();
}

void TFBACnet_Eng_Unit::Set_Lang()
{
    const ProgramState& s = *m_ctx.state;
    setWindowTitle(s.lang(1600));
    L_SW_Desc->setText(s.lang(1601));
    L_SW_Desc->adjustSize();
    Btn_OK->setText(s.lang(1602));
    Btn_Cancel->setText(s.lang(1603));
    const std::pair<QLabel*, int> labels[] = {{Label1, 1604},
                                              {Label2, 1605},
                                              {Label3, 1606},
                                              {Label4, 1607}};
    for (const auto& [label, text] : labels) {
        label->setText(s.lang(text));
        label->adjustSize();
    }
    Btn_Select_Eng_Unit->setText(s.lang(1608));
}

void TFBACnet_Eng_Unit::FormShow() { CB_Select_TypeSelect(); }

void TFBACnet_Eng_Unit::CB_Select_TypeSelect()
{
    CB_Select_Unit->clear();
    const int category = CB_Select_Type->currentIndex();
    const auto categories = engUnitCategories();
    if (category < 0 || std::size_t(category) >= categories.size())
        return;
    for (const EngUnitEntry& e : categories[std::size_t(category)].entries)
        CB_Select_Unit->addItem(engUnitEntryText(e), e.unit);
    CB_Select_Unit->setCurrentIndex(0);
}

void TFBACnet_Eng_Unit::Btn_Select_Eng_UnitClick()
{
    if (CB_Select_Unit->currentIndex() < 0)
        return;
    const int unit = CB_Select_Unit->currentData().toInt();
    E_Selected_EU->setText(QString::number(unit));
    Label5->setText(QStringLiteral("-> ") + Desc_Unit(unit));
    Label5->adjustSize();
}

}  // namespace zfw
