#include "editors/iot/UIEC_61850_Access.h"

#include "common/TextUtil.h"
#include "common/UComon.h"
#include "common/UComonValidators.h"
#include "controls/LbButton.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace zfw {

namespace {

constexpr int kRowHeight = 20;

struct GridColumn {
    const char* header;  // fixed header; null: the language's (ACG_DA)
    int width;
    TEditorType editor;
    QStringList items;
    TColor colour;  // 0xBBGGRR
    bool centred = false;
};

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kCyan = 0xFEFAE0;    // 224, 250, 254
constexpr TColor kYellow = 0xA8FFFF;  // 255, 255, 168
constexpr TColor kGreen = 0xCAFFCA;   // 202, 255, 202
constexpr TColor kPink = 0xF4D6FC;    // 252, 214, 244
constexpr TColor kOrange = 0xB0D8FF;  // 255, 216, 176

const QStringList kBits = {"0", "1", "2", "3", "4", "5", "6", "7"};
const QStringList kReadWrite = {"Read", "Write"};
const QStringList kConversions = {"None", "ItoF/FtoI"};

std::vector<GridColumn> daColumns()
{
    using E = TEditorType;
    return {
        {nullptr, 40, E::edNone, {}, kWhite},
        {nullptr, 60, E::edNormal, {}, kWhite},
        {nullptr, 60, E::edNone, {}, kCyan},
        {nullptr, 30, E::edNone, {}, kCyan},
        {nullptr, 150, E::edNone, {}, kCyan},
        {nullptr, 65, E::edNormal, {}, kCyan},
        {nullptr, 60, E::edNormal, {}, kCyan},
        {nullptr, 70, E::edNormal, {}, kYellow},
        {nullptr, 45, E::edNormal, {}, kYellow},
        {nullptr, 70, E::edDataCheckBox, {}, kGreen, true},
        {nullptr, 50, E::edDataCheckBox, {}, kGreen, true},
        {nullptr, 60, E::edDataCheckBox, {}, kGreen, true},
        {nullptr, 64, E::edNormal, {}, kGreen},
        {nullptr, 55, E::edNormal, {}, kPink},
        {nullptr, 70, E::edComboList, kBits, kPink},
        {nullptr, 60, E::edComboList, kReadWrite, kOrange},
        {nullptr, 70, E::edComboList, kConversions, kOrange},
        {nullptr, 64, E::edNormal, {}, kOrange},
        {nullptr, 150, E::edNormal, {}, kWhite},
    };
}

std::vector<GridColumn> dataSetColumns()
{
    using E = TEditorType;
    return {{"N", 40, E::edNone, {}, kWhite},
            {"Index", 60, E::edNormal, {}, kWhite},
            {"Reference", 150, E::edNone, {}, kWhite},
            {"Goose Name", 80, E::edNone, {}, kWhite},
            {"En. Goose", 60, E::edDataCheckBox, {}, kWhite, true},
            {"IP Address", 70, E::edNormal, {}, kWhite},
            {"Port", 45, E::edNormal, {}, kWhite},
            {"Time (ms)", 70, E::edNormal, {}, kWhite},
            {"Mnemonic", 100, E::edNormal, {}, kWhite}};
}

std::vector<GridColumn> memberColumns()
{
    using E = TEditorType;
    return {{"N", 40, E::edNone, {}, kWhite},
            {"bType", 60, E::edNone, {}, kWhite},
            {"Reference", 150, E::edNone, {}, kWhite},
            {"Position", 55, E::edNormal, {}, kWhite},
            {"Start Bit", 70, E::edComboList, kBits, kWhite},
            {"Convertion", 70, E::edComboList, kConversions, kWhite},
            {"Mult Fact", 64, E::edNormal, {}, kWhite},
            {"Mnemonic", 150, E::edNormal, {}, kWhite}};
}

TExtColumnGrid* makeGrid(QWidget* parent, const char* name, const std::vector<GridColumn>& cols)
{
    auto* g = new TExtColumnGrid(parent);
    g->setObjectName(QLatin1String(name));
    g->BeginUpdate();
    g->SetColCount(int(cols.size()));
    g->SetRowCount(2);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetDefaultRowHeight(kRowHeight);
    g->store().SetWordWrap(false);
    g->SetOptions(g->Options() | goColSizing | goEditing);
    for (int c = 0; c < int(cols.size()); ++c) {
        TGridColumnItem* item = g->Columns().GetItem(c);
        item->SetEditor(cols[size_t(c)].editor);
        if (!cols[size_t(c)].items.isEmpty())
            item->SetComboItems(cols[size_t(c)].items);
        item->SetColor(cols[size_t(c)].colour);
        item->SetWidth(cols[size_t(c)].width);
        if (cols[size_t(c)].centred)
            item->SetAlignment(taCenter);
        if (cols[size_t(c)].header)
            item->SetHeader(QLatin1String(cols[size_t(c)].header));
    }
    g->EndUpdate();
    g->Loaded();
    return g;
}

// The six pictures of the tree's levels: device, logical device, logical node, data object,
// attribute, data set.
std::vector<QIcon> treeImages()
{
    const QColor colours[6] = {QColor(60, 60, 60), QColor(0, 90, 200), QColor(200, 120, 0),
                               QColor(0, 0, 255),  QColor(90, 90, 90), QColor(0, 128, 0)};
    std::vector<QIcon> icons;
    for (int i = 0; i < 6; ++i) {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(colours[i].darker());
        p.setBrush(colours[i]);
        switch (i) {
        case 0: p.drawRect(2, 3, 12, 10); break;
        case 1: p.drawRoundedRect(2, 2, 12, 12, 3, 3); break;
        case 2: p.drawEllipse(2, 2, 12, 12); break;
        case 3:
            p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(15, 8), QPoint(8, 15), QPoint(1, 8)}));
            break;
        case 4: p.drawEllipse(5, 5, 6, 6); break;
        default:
            p.drawRect(2, 2, 5, 5), p.drawRect(9, 2, 5, 5), p.drawRect(2, 9, 5, 5),
                p.drawRect(9, 9, 5, 5);
            break;
        }
        icons.emplace_back(pm);
    }
    return icons;
}

void clearRow(TExtColumnGrid* g, int r, int fromCol)
{
    for (int c = fromCol; c < g->ColCount(); ++c)
        g->SetCellEx(c, r, QString());
}

QStringList rowTexts(const TExtColumnGrid* g, int r, int columns)
{
    QStringList out;
    for (int c = 1; c <= columns; ++c)
        out << g->GetCellEx(c, r);
    return out;
}

}  // namespace

TFIEC_61850_Access::TFIEC_61850_Access(const RuleEditorContext& context, QWidget* parent)
    : TForm(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("TFIEC_61850_Access"));
    IL_IEC = treeImages();
    build();
    setFixedClientSize(1200, 550);
    Set_Lang();
}

TFIEC_61850_Access::~TFIEC_61850_Access()
{
    // The tree's nodes are referred to by the model; the model goes with m_cfg.
    clearTree();
}

QString TFIEC_61850_Access::text(int n) const { return m_ctx.state->lang(n); }

QString TFIEC_61850_Access::catalogDir() const
{
    return QDir(m_ctx.state->Dir_Project).filePath(QLatin1String(kIecCatalogFolder));
}

void TFIEC_61850_Access::build()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* title = new QWidget(this);
    title->setObjectName(QStringLiteral("P_Title"));
    auto* titleBox = new QHBoxLayout(title);
    L_SW_Code = new QLabel(m_ctx.buildCode, title);
    L_SW_Code->setObjectName(QStringLiteral("L_SW_Code"));
    L_SW_Desc = new QLabel(title);
    L_SW_Desc->setObjectName(QStringLiteral("L_SW_Desc"));
    titleBox->addWidget(L_SW_Code);
    titleBox->addWidget(L_SW_Desc, 1);
    outer->addWidget(title);

    auto* split = new QSplitter(Qt::Horizontal, this);
    auto* catalogue = new QWidget(split);
    auto* catBox = new QVBoxLayout(catalogue);
    catBox->setContentsMargins(2, 2, 2, 2);
    Btn_Add_IEC_Device = new TLbButton(catalogue);
    Btn_Add_IEC_Device->setObjectName(QStringLiteral("Btn_Add_IEC_Device"));
    LB_IEC_Devices = new QListWidget(catalogue);
    LB_IEC_Devices->setObjectName(QStringLiteral("LB_IEC_Devices"));
    Btn_Remove_IEC_Device = new TLbButton(catalogue);
    Btn_Remove_IEC_Device->setObjectName(QStringLiteral("Btn_Remove_IEC_Device"));
    catBox->addWidget(Btn_Add_IEC_Device);
    catBox->addWidget(LB_IEC_Devices, 1);
    catBox->addWidget(Btn_Remove_IEC_Device);

    TV_IEC_Device = new QTreeWidget(split);
    TV_IEC_Device->setObjectName(QStringLiteral("TV_IEC_Device"));
    TV_IEC_Device->setHeaderHidden(true);
    TV_IEC_Device->setIndentation(19);
    TV_IEC_Device->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TV_IEC_Device->setIconSize(QSize(16, 16));

    PC_DA_DataSet = new QTabWidget(split);
    PC_DA_DataSet->setObjectName(QStringLiteral("PC_DA_DataSet"));
    TS_DA = new QWidget(PC_DA_DataSet);
    TS_DA->setObjectName(QStringLiteral("TS_DA"));
    auto* daBox = new QVBoxLayout(TS_DA);
    daBox->setContentsMargins(2, 2, 2, 2);
    ACG_DA = makeGrid(TS_DA, "ACG_DA", daColumns());
    daBox->addWidget(ACG_DA);
    PC_DA_DataSet->addTab(TS_DA, QStringLiteral("Variables"));
    TS_DataSet = new QWidget(PC_DA_DataSet);
    TS_DataSet->setObjectName(QStringLiteral("TS_DataSet"));
    auto* dsBox = new QVBoxLayout(TS_DataSet);
    dsBox->setContentsMargins(2, 2, 2, 2);
    auto* dsSplit = new QSplitter(Qt::Vertical, TS_DataSet);
    ACG_DataSet = makeGrid(dsSplit, "ACG_DataSet", dataSetColumns());
    ACG_DS_Vars = makeGrid(dsSplit, "ACG_DS_Vars", memberColumns());
    dsBox->addWidget(dsSplit);
    PC_DA_DataSet->addTab(TS_DataSet, QStringLiteral("DataSet"));
    split->addWidget(catalogue);
    split->addWidget(TV_IEC_Device);
    split->addWidget(PC_DA_DataSet);
    split->setSizes({170, 250, 780});
    outer->addWidget(split, 1);

    auto* band = new QWidget(this);
    band->setObjectName(QStringLiteral("P_Button"));
    auto* bandBox = new QHBoxLayout(band);
    auto button = [&](const char* name) {
        auto* b = new TLbButton(band);
        b->setObjectName(QLatin1String(name));
        bandBox->addWidget(b);
        return b;
    };
    Btn_OK = button("Btn_OK");
    Btn_Cancel = button("Btn_Cancel");
    Btn_AddVar = button("Btn_AddVar");
    Btn_RemoveVar = button("Btn_RemoveVar");
    bandBox->addStretch(1);
    outer->addWidget(band);

    connect(Btn_OK, &QAbstractButton::clicked, this, [this] { Btn_OKClick(); });
    connect(Btn_Cancel, &QAbstractButton::clicked, this, [this] { reject(); });
    connect(Btn_AddVar, &QAbstractButton::clicked, this, [this] { Btn_AddVarClick(); });
    connect(Btn_RemoveVar, &QAbstractButton::clicked, this, [this] { Btn_RemoveVarClick(); });
    connect(Btn_Add_IEC_Device, &QAbstractButton::clicked, this,
            [this] { Btn_Add_IEC_DeviceClick(); });
    connect(Btn_Remove_IEC_Device, &QAbstractButton::clicked, this,
            [this] { Btn_Remove_IEC_DeviceClick(); });
    connect(LB_IEC_Devices, &QListWidget::itemClicked, this, [this] { LB_IEC_DevicesClick(); });
    connect(TV_IEC_Device, &QTreeWidget::itemClicked, this, [this] { TV_IEC_DeviceClick(); });

    for (TExtColumnGrid* g : {ACG_DA, ACG_DataSet, ACG_DS_Vars}) {
        g->OnClickCell = [this](QObject* s, int r, int c) { ClickCell(s, r, c); };
        g->OnGridHint = [this](QObject* s, int r, int c, QString& h) { GridHint(s, r, c, h); };
    }
    ACG_DS_Vars->OnSelectCell = [this](QObject*, int, int, bool&) {
        DataSet_Row_Select = m_shownDataSetRow;
    };
    ACG_DS_Vars->OnEditCellDone = [this](QObject*, int c, int r) {
        storeMemberEdit(c, r, ACG_DS_Vars->GetCellEx(c, r));
    };
    ACG_DS_Vars->OnComboChange = [this](QObject*, int c, int r, int, const QString& s) {
        storeMemberEdit(c, r, s);
    };
}

void TFIEC_61850_Access::Set_Lang()
{
    setWindowTitle(text(4900));
    L_SW_Desc->setText(text(4901));
    const std::pair<TLbButton*, int> buttons[] = {
        {Btn_OK, 4902},        {Btn_Cancel, 4903},         {Btn_AddVar, 4904},
        {Btn_RemoveVar, 4905}, {Btn_Add_IEC_Device, 4908}, {Btn_Remove_IEC_Device, 4909}};
    const int hints[] = {4910, 4911, 4912, 4913, 4916, 4917};
    for (size_t i = 0; i < std::size(buttons); ++i) {
        buttons[i].first->setText(text(buttons[i].second));
        buttons[i].first->setToolTip(text(hints[i]));
    }
    const int headers[kIecDaColumns + 1] = {4918, 4919, 4920, 4921, 4922, 4958, 4959,
                                            4923, 4924, 4925, 4926, 4927, 4928, 4929,
                                            4930, 4931, 4932, 4933, 4934};
    for (int c = 0; c <= kIecDaColumns; ++c)
        ACG_DA->Columns().GetItem(c)->SetHeader(text(headers[c]));
    // Entry c is the hint of column c, column 0 included.
    Hint.clear();
    for (int n : {4935, 4936, 4937, 4938, 4939, 4960, 4961})
        Hint << text(n);
    for (int n = 4940; n <= 4951; ++n)
        Hint << text(n);
}

void TFIEC_61850_Access::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        FormShow();
        centreOnScreen(*this);
    }
    TForm::showEvent(event);
}

void TFIEC_61850_Access::clearTree()
{
    // Mended: the tree and the selections pointed into whichever device they came from, so
    // removing that device left them dangling. Any change of the catalogue clears them.
    Selected_IEC_DA = nullptr;
    Selected_IEC_DS = nullptr;
    NODE_ORIG = nullptr;
    m_shownDevice = -1;
    if (TV_IEC_Device)
        TV_IEC_Device->clear();
    for (const auto& d : m_cfg.List_IEC_Dev) {
        d->TreeNode = nullptr;
        for (const auto& ld : d->List_LDevice) {
            ld->TreeNode = nullptr;
            for (const auto& ln : ld->List_LN) {
                ln->TreeNode = nullptr;
                for (const auto& ds : ln->List_DataSet)
                    ds->TreeNode = nullptr;
            }
        }
    }
}

void TFIEC_61850_Access::FormShow()
{
    DataSet_Row_Select = 0;
    m_shownDataSetRow = 0;
    clearTree();
    const IecClientLoad load = loadIecClientFile(m_ctx.state->File_IEC_61850_Client, catalogDir(),
                                                 m_cfg);
    showGrids();
    Show_IEC_Devices();
    PC_DA_DataSet->setCurrentIndex(0);
    if (!load.messages.isEmpty())
        m_ctx.dialogs->showWarning(load.messages.join(u'\n'), this);
}

void TFIEC_61850_Access::showGrids()
{
    ACG_DA->BeginUpdate();
    ACG_DA->SetRowCount(int(m_cfg.daRows.size()) + 1);
    for (qsizetype i = 0; i < m_cfg.daRows.size(); ++i) {
        const int r = int(i) + 1;
        ACG_DA->SetCellEx(0, r,
                          m_cfg.daRows.size() == 1 && m_cfg.daRows[0][0].isEmpty()
                              ? QString()
                              : QString::number(r));
        for (int c = 1; c <= kIecDaColumns; ++c)
            ACG_DA->SetCellEx(c, r, m_cfg.daRows[i].value(c - 1));
    }
    ACG_DA->EndUpdate();
    Set_Start_Num_Byte();

    ACG_DataSet->BeginUpdate();
    ACG_DataSet->SetRowCount(int(m_cfg.dataSetRows.size()) + 1);
    for (qsizetype i = 0; i < m_cfg.dataSetRows.size(); ++i) {
        const int r = int(i) + 1;
        const bool empty = m_cfg.dataSetRows.size() == 1 && m_cfg.dataSetRows[0][0].isEmpty()
                           && m_cfg.List_DataSet.empty();
        ACG_DataSet->SetCellEx(0, r, empty ? QString() : QString::number(r));
        for (int c = 1; c <= kIecDataSetColumns; ++c)
            ACG_DataSet->SetCellEx(c, r, m_cfg.dataSetRows[i].value(c - 1));
    }
    ACG_DataSet->EndUpdate();
    ACG_DS_Vars->SetRowCount(2);
    clearRow(ACG_DS_Vars, 1, 0);
}

void TFIEC_61850_Access::takeGrids()
{
    m_cfg.daRows.clear();
    for (int r = 1; r < ACG_DA->RowCount(); ++r)
        m_cfg.daRows << rowTexts(ACG_DA, r, kIecDaColumns);
    m_cfg.dataSetRows.clear();
    for (int r = 1; r < ACG_DataSet->RowCount(); ++r)
        m_cfg.dataSetRows << rowTexts(ACG_DataSet, r, kIecDataSetColumns);
}

void TFIEC_61850_Access::Set_Start_Num_Byte()
{
    QList<QStringList> rows;
    for (int r = 1; r < ACG_DA->RowCount(); ++r)
        rows << rowTexts(ACG_DA, r, kIecDaColumns);
    const std::vector<bool> fixed = zfw::Set_Start_Num_Byte(rows);
    for (int r = 1; r < ACG_DA->RowCount(); ++r) {
        const bool ro = fixed[size_t(r - 1)];
        for (int c : {iecda::StartByte, iecda::NumByte}) {
            if (ro)
                ACG_DA->SetCellEx(c, r, rows[r - 1][c - 1]);
            ACG_DA->SetReadOnly(c, r, ro);
        }
    }
}

bool TFIEC_61850_Access::Controllo_dati()
{
    takeGrids();
    const QChar separator = Get_Decimal_Separator();
    const IecDaFault f = checkIecDaRows(m_cfg.daRows, separator);
    if (f.ok())
        return true;
    m_ctx.dialogs->showError(text(4952) + QString::number(f.row) + text(f.text) + f.bound, this);
    return false;
}

void TFIEC_61850_Access::Btn_OKClick()
{
    if (!Controllo_dati())
        return;
    const FileResult saved = saveIecClientFile(m_cfg, m_ctx.state->File_IEC_61850_Client);
    if (!saved) {
        m_ctx.dialogs->showError(saved.message, this);
        return;
    }
    done(mrOk);
}

void TFIEC_61850_Access::Show_IEC_Devices()
{
    LB_IEC_Devices->clear();
    for (const auto& d : m_cfg.List_IEC_Dev)
        LB_IEC_Devices->addItem(d->Placeholder ? d->Name + QStringLiteral(" [") + d->FileName
                                                     + QStringLiteral("]")
                                               : d->Name);
    LB_IEC_Devices->setCurrentRow(-1);
}

void TFIEC_61850_Access::Btn_Add_IEC_DeviceClick()
{
    FileDialogRequest request;
    request.filter = QStringLiteral(
        "SCL Files (*.scd, *.ssd, *.sed, *.icd, *.iid, *.cid)|*.scd; *.ssd; *.sed; *.icd; *.iid; "
        "*.cid;|Any File (*.*)|*.*");
    const std::optional<QString> chosen = m_ctx.dialogs->openFileName(request, this);
    if (!chosen)
        return;
    const QString dir = catalogDir();
    if (!QDir().mkpath(dir)) {
        m_ctx.dialogs->showError(displayPath(dir) + QStringLiteral(": the folder cannot be made"),
                                 this);
        return;
    }
    const QString name = QFileInfo(*chosen).fileName();
    const QString target = QDir(dir).filePath(name);
    const bool sameFile = QFileInfo(*chosen).canonicalFilePath()
                          == QFileInfo(target).canonicalFilePath();
    bool copy = true;
    if (QFileInfo::exists(target)) {
        const TModalResult answer = m_ctx.dialogs->messageDlg(
            QStringLiteral("File already exists in catalog directory. Do you want to overwrite "
                           "file?"),
            TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel, this);
        if (answer == mrCancel)
            return;
        copy = answer == mrYes;
    }
    if (copy && !sameFile) {
        // The copy replaces the catalogue file only once it is complete.
        const QString temp = target + QStringLiteral(".part");
        QFile::remove(temp);
        if (!QFile::copy(*chosen, temp)) {
            m_ctx.dialogs->showError(displayPath(*chosen)
                                         + QStringLiteral(": the file cannot be copied"),
                                     this);
            return;
        }
        QFile::remove(target);
        QFile::rename(temp, target);
    }
    CatalogEntry entry = decodeCatalogFile(dir, name, QString());
    if (entry.device->Placeholder) {
        m_ctx.dialogs->showError(entry.message, this);
        return;
    }
    if (!entry.message.isEmpty())
        m_ctx.dialogs->showWarning(entry.message, this);
    clearTree();
    m_cfg.List_IEC_Dev.push_back(std::move(entry.device));
    Show_IEC_Devices();
}

void TFIEC_61850_Access::Btn_Remove_IEC_DeviceClick()
{
    const int i = LB_IEC_Devices->currentRow();
    if (i < 0 || size_t(i) >= m_cfg.List_IEC_Dev.size())
        return;
    for (TExtColumnGrid* g : {ACG_DA, ACG_DataSet})
        for (int r = 1; r < g->RowCount(); ++r)
            if (strToIntDef(g->GetCellEx(iecda::Index, r), -1) == i)
                return;
    clearTree();
    m_cfg.List_IEC_Dev.erase(m_cfg.List_IEC_Dev.begin() + i);
    for (TExtColumnGrid* g : {ACG_DA, ACG_DataSet})
        for (int r = 1; r < g->RowCount(); ++r) {
            const int v = strToIntDef(g->GetCellEx(iecda::Index, r), -1);
            if (v > i)
                g->SetCellEx(iecda::Index, r, QString::number(v - 1));
        }
    Show_IEC_Devices();
}

void TFIEC_61850_Access::LB_IEC_DevicesClick()
{
    const int i = LB_IEC_Devices->currentRow();
    if (i < 0 || size_t(i) >= m_cfg.List_IEC_Dev.size())
        return;
    clearTree();
    Show_Tree_IEC_Device(*m_cfg.List_IEC_Dev[size_t(i)]);
    m_shownDevice = i;
}

void TFIEC_61850_Access::Show_Tree_IEC_Device(TIEC_Device& dev)
{
    auto node = [this](QTreeWidgetItem* parent, const QString& label, int image) {
        auto* n = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TV_IEC_Device);
        n->setText(0, label);
        n->setIcon(0, IL_IEC[size_t(image)]);
        if (image == 3)
            n->setForeground(0, QColor(0, 0, 255));
        else if (image == 5)
            n->setForeground(0, QColor(0, 128, 0));
        return n;
    };
    std::function<void(TIEC_DA&, QTreeWidgetItem*)> showDA = [&](TIEC_DA& da,
                                                                 QTreeWidgetItem* parent) {
        da.TreeNode = node(parent, da.Name, 4);
        for (const auto& b : da.List_DA)
            showDA(*b, da.TreeNode);
    };
    std::function<void(TIEC_DO&, QTreeWidgetItem*)> showDO = [&](TIEC_DO& d,
                                                                 QTreeWidgetItem* parent) {
        d.TreeNode = node(parent, d.Name, 3);
        for (const auto& s : d.List_DO)
            showDO(*s, d.TreeNode);
        for (const auto& a : d.List_DA)
            showDA(*a, d.TreeNode);
    };
    NODE_ORIG = node(nullptr, dev.Name, 0);
    dev.TreeNode = NODE_ORIG;
    for (const auto& ld : dev.List_LDevice) {
        ld->TreeNode = node(NODE_ORIG, ld->Name, 1);
        for (const auto& ln : ld->List_LN) {
            ln->TreeNode = node(ld->TreeNode, ln->Prefix + ln->lnClass + ln->Inst, 2);
            for (const auto& d : ln->List_DO)
                showDO(*d, ln->TreeNode);
            for (const auto& ds : ln->List_DataSet)
                ds->TreeNode = node(ln->TreeNode, ds->Name, 5);
            ln->TreeNode->setExpanded(true);
        }
        ld->TreeNode->setExpanded(true);
    }
    NODE_ORIG->setExpanded(true);
}

TIEC_DA* TFIEC_61850_Access::Search_Node_Selected() const
{
    const QTreeWidgetItem* sel = TV_IEC_Device->currentItem();
    if (m_shownDevice < 0 || !sel || sel == NODE_ORIG)
        return nullptr;
    std::function<TIEC_DA*(const TIEC_DA&)> inDA = [&](const TIEC_DA& da) -> TIEC_DA* {
        for (const auto& b : da.List_DA) {
            if (b->TreeNode == sel)
                return b->List_DA.empty() ? b.get() : nullptr;
            if (TIEC_DA* f = inDA(*b))
                return f;
        }
        return nullptr;
    };
    std::function<TIEC_DA*(const TIEC_DO&)> inDO = [&](const TIEC_DO& d) -> TIEC_DA* {
        for (const auto& s : d.List_DO)
            if (TIEC_DA* f = inDO(*s))
                return f;
        for (const auto& a : d.List_DA) {
            if (a->TreeNode == sel)
                return a->List_DA.empty() ? a.get() : nullptr;
            if (TIEC_DA* f = inDA(*a))
                return f;
        }
        return nullptr;
    };
    for (const auto& ld : m_cfg.List_IEC_Dev[size_t(m_shownDevice)]->List_LDevice)
        for (const auto& ln : ld->List_LN)
            for (const auto& d : ln->List_DO)
                if (TIEC_DA* f = inDO(*d))
                    return f;
    return nullptr;
}

TIEC_DataSet* TFIEC_61850_Access::Search_Node_Selected_DataSet() const
{
    const QTreeWidgetItem* sel = TV_IEC_Device->currentItem();
    if (m_shownDevice < 0 || !sel || sel == NODE_ORIG)
        return nullptr;
    for (const auto& ld : m_cfg.List_IEC_Dev[size_t(m_shownDevice)]->List_LDevice)
        for (const auto& ln : ld->List_LN)
            for (const auto& ds : ln->List_DataSet)
                if (ds->TreeNode == sel)
                    return ds.get();
    return nullptr;
}

void TFIEC_61850_Access::TV_IEC_DeviceClick()
{
    Selected_IEC_DA = Search_Node_Selected();
    Selected_IEC_DS = Selected_IEC_DA ? nullptr : Search_Node_Selected_DataSet();
}

void TFIEC_61850_Access::renumber(TExtColumnGrid* g)
{
    for (int r = 1; r < g->RowCount(); ++r)
        g->SetCellEx(0, r, QString::number(r));
}

void TFIEC_61850_Access::Btn_AddVarClick()
{
    const QString index = QString::number(m_shownDevice);
    if (Selected_IEC_DA) {
        PC_DA_DataSet->setCurrentWidget(TS_DA);
        int r = 1;
        if (!(ACG_DA->RowCount() == 2 && ACG_DA->GetCellEx(iecda::Index, 1).isEmpty())) {
            ACG_DA->SetRowCount(ACG_DA->RowCount() + 1);
            r = ACG_DA->RowCount() - 1;
        }
        clearRow(ACG_DA, r, 1);
        ACG_DA->SetCellEx(0, r, QString::number(r));
        ACG_DA->SetCellEx(iecda::Index, r, index);
        ACG_DA->SetCellEx(iecda::bType, r, Selected_IEC_DA->bType);
        ACG_DA->SetCellEx(iecda::fc, r, Selected_IEC_DA->FC);
        ACG_DA->SetCellEx(iecda::Reference, r, Selected_IEC_DA->Reference);
        for (int c : {iecda::OnChange, iecda::OnCMD, iecda::OnTimer})
            ACG_DA->SetCellEx(c, r, QStringLiteral("N"));
        Set_Start_Num_Byte();
    } else if (Selected_IEC_DS) {
        PC_DA_DataSet->setCurrentWidget(TS_DataSet);
        int r = 1;
        if (!(ACG_DataSet->RowCount() == 2 && ACG_DataSet->GetCellEx(1, 1).isEmpty())) {
            ACG_DataSet->SetRowCount(ACG_DataSet->RowCount() + 1);
            r = ACG_DataSet->RowCount() - 1;
        }
        clearRow(ACG_DataSet, r, 1);
        ACG_DataSet->SetCellEx(0, r, QString::number(r));
        ACG_DataSet->SetCellEx(1, r, index);
        ACG_DataSet->SetCellEx(2, r, Selected_IEC_DS->Reference);
        ACG_DataSet->SetCellEx(3, r, Selected_IEC_DS->GooseName);
        ACG_DataSet->SetCellEx(4, r,
                               Selected_IEC_DS->GooseName.isEmpty() ? QStringLiteral("N")
                                                                    : QStringLiteral("Y"));
        // The selection of row r is entry r - 1: a reused row 1 replaces what it had.
        while (m_cfg.List_DataSet.size() > size_t(r - 1))
            m_cfg.List_DataSet.pop_back();
        while (m_cfg.List_DataSet.size() < size_t(r - 1))
            m_cfg.List_DataSet.push_back(std::make_unique<TDataSet>());
        m_cfg.List_DataSet.push_back(newDataSetSelection(*Selected_IEC_DS));
    }
}

void TFIEC_61850_Access::Btn_RemoveVarClick()
{
    if (PC_DA_DataSet->currentWidget() == TS_DA) {
        const int k = ACG_DA->Row();
        if (k < 1)
            return;
        if (k == 1 && ACG_DA->RowCount() == 2) {
            clearRow(ACG_DA, 1, 1);
        } else {
            for (int r = k; r < ACG_DA->RowCount() - 1; ++r)
                for (int c = 1; c < ACG_DA->ColCount(); ++c)
                    ACG_DA->SetCellEx(c, r, ACG_DA->GetCellEx(c, r + 1));
            ACG_DA->SetRowCount(ACG_DA->RowCount() - 1);
            renumber(ACG_DA);
        }
        Set_Start_Num_Byte();
        return;
    }
    removeDataSetRow(ACG_DataSet->Row());
}

void TFIEC_61850_Access::removeDataSetRow(int k)
{
    if (k < 1)
        return;
    if (size_t(k - 1) < m_cfg.List_DataSet.size())
        m_cfg.List_DataSet.erase(m_cfg.List_DataSet.begin() + (k - 1));
    if (!m_cfg.List_DataSet.empty() && ACG_DataSet->RowCount() > 2) {
        for (int r = k; r < ACG_DataSet->RowCount() - 1; ++r)
            for (int c = 1; c < ACG_DataSet->ColCount(); ++c)
                ACG_DataSet->SetCellEx(c, r, ACG_DataSet->GetCellEx(c, r + 1));
        ACG_DataSet->SetRowCount(ACG_DataSet->RowCount() - 1);
        renumber(ACG_DataSet);
    } else {
        ACG_DataSet->SetRowCount(2);
        clearRow(ACG_DataSet, 1, 0);
    }
    // Mended: the member grid kept showing the removed set, and its edits went into whichever
    // set now had that row number. It follows the removal now.
    DataSet_Row_Select = 0;
    Show_DataSet_DAs();
}

void TFIEC_61850_Access::Show_DataSet_DAs()
{
    const int k = ACG_DataSet->Row();
    m_shownDataSetRow = 0;
    ACG_DS_Vars->BeginUpdate();
    if (k < 1 || size_t(k) > m_cfg.List_DataSet.size()
        || m_cfg.List_DataSet[size_t(k - 1)]->List_DAs.empty()) {
        ACG_DS_Vars->SetRowCount(2);
        clearRow(ACG_DS_Vars, 1, 0);
    } else {
        m_shownDataSetRow = k;
        const auto& members = m_cfg.List_DataSet[size_t(k - 1)]->List_DAs;
        ACG_DS_Vars->SetRowCount(int(members.size()) + 1);
        for (size_t m = 0; m < members.size(); ++m) {
            const TDataSet_DA& d = *members[m];
            const int r = int(m) + 1;
            const QString cells[] = {QString::number(r), d.bType(),    d.reference(), d.Position,
                                     d.bitAddress,       d.conversion, d.multFactor,  d.Mnemonic};
            for (int c = 0; c < 8; ++c)
                ACG_DS_Vars->SetCellEx(c, r, cells[c]);
        }
    }
    ACG_DS_Vars->EndUpdate();
}

void TFIEC_61850_Access::storeMemberEdit(int ACol, int ARow, const QString& value)
{
    // An edit without a member behind it (the empty row of a set without members, or no set)
    // has nowhere to go and is ignored.
    if (DataSet_Row_Select < 1 || size_t(DataSet_Row_Select) > m_cfg.List_DataSet.size())
        return;
    auto& members = m_cfg.List_DataSet[size_t(DataSet_Row_Select - 1)]->List_DAs;
    if (ARow < 1 || size_t(ARow) > members.size())
        return;
    TDataSet_DA& m = *members[size_t(ARow - 1)];
    switch (ACol) {
    case 3: m.Position = value; break;
    case 4: m.bitAddress = value; break;
    case 5: m.conversion = value; break;
    case 6: m.multFactor = value; break;
    case 7: m.Mnemonic = value; break;
    default: break;
    }
}

void TFIEC_61850_Access::ClickCell(QObject* Sender, int ARow, int ACol)
{
    if (Sender == ACG_DA && ACol == 0 && ARow >= 1)
        ACG_DA->SelectRows(ARow, 1);
    if (Sender == ACG_DataSet)
        Show_DataSet_DAs();
}

void TFIEC_61850_Access::GridHint(QObject* Sender, int ARow, int ACol, QString& hintstr)
{
    // Hint holds an entry for column 0 too, so column c takes entry c.
    if (Sender == ACG_DA && ARow == 0 && ACol > 0 && ACol < Hint.size())
        hintstr = Hint[ACol];
}

}  // namespace zfw
