#include "editors/iot/UIEC_61850_Access.h"

#include "common/TextUtil.h"
#include "common/UComon.h"
#include "common/UComonValidators.h"
#include "controls/FormParts.h"
#include "controls/LbButton.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPainter>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace zfw {

namespace {

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

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFIEC_61850_Access";
    n.pageControl = "PC_DA_DataSet";
    n.tabs = {"TS_DA", "TS_DataSet"};
    n.grids = {"ACG_DA", "ACG_DataSet", "ACG_DS_Vars"};
    n.gridTabs = {0, 1, 1};
    n.fixedTabCaptions = {"Variables", "DataSet"};
    n.clientWidth = 1200;
    n.clientHeight = 550;
    // Only a click on the number column of the variables selects the row; a click in the
    // data-set grid shows the set's members.
    n.gridEvents = {RuleGridEvents{}, RuleGridEvents{true, false, true},
                    RuleGridEvents{true, false, true}};
    n.rowTools = {false, false, false, false};
    n.extraButtons = {{"Btn_AddVar", 4904, 4912}, {"Btn_RemoveVar", 4905, 4913}};
    n.ownFile = true;
    return n;
}

// The texts of the table's rows 1 on, columns 1 to count.
QList<QStringList> tableRows(const RuleTable& t, int count)
{
    QList<QStringList> rows;
    for (int r = 1; r < t.rowCount(); ++r) {
        QStringList row;
        for (int c = 1; c <= count; ++c)
            row << t.cell(c, r);
        rows << row;
    }
    return rows;
}

// The table holds one row per entry (at least its empty row 1), numbered from 1.
void fillTable(RuleTable& t, const QList<QStringList>& rows)
{
    t.clear();
    t.setRowCount(int(qMax<qsizetype>(1, rows.size())) + 1);
    for (qsizetype i = 0; i < rows.size(); ++i)
        for (int c = 1; c < t.columnCount(); ++c)
            t.setCell(c, int(i) + 1, rows[i].value(c - 1));
}

// The start and number of bytes of every row: written and read-only for the fixed-size
// types, editable for the others.
void applyStartNumByte(RuleTable& t)
{
    QList<QStringList> rows = tableRows(t, kIecDaColumns);
    const std::vector<bool> fixed = Set_Start_Num_Byte(rows);
    for (int r = 1; r < t.rowCount(); ++r) {
        const bool ro = fixed[std::size_t(r - 1)];
        for (int c : {iecda::StartByte, iecda::NumByte}) {
            if (ro)
                t.setCell(c, r, rows[r - 1][c - 1]);
            t.setReadOnly(c, r, ro);
        }
    }
}

// The row an added item goes to: row 1 while it is the only row and has no device index,
// else a new last row.
int addedRow(RuleTable& t)
{
    int r = 1;
    if (!(t.rowCount() == 2 && t.cell(1, 1).isEmpty())) {
        t.setRowCount(t.rowCount() + 1);
        r = t.rowCount() - 1;
    }
    t.emptyRow(r);
    return r;
}

// Removes row k: the only row is emptied and stays, any other goes and the rows below move up
// (their numbers stay with the places).
void removeRow(RuleTable& t, int k)
{
    if (k < 1 || k >= t.rowCount())
        return;
    if (t.rowCount() == 2) {
        t.emptyRow(1);
        return;
    }
    t.moveRowsUp(k);
    t.setRowCount(t.rowCount() - 1);
}

}  // namespace

TFIEC_61850_Access::TFIEC_61850_Access(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), iecClientRuleSpec(QLatin1Char(',')), parent)
{
    IL_IEC = treeImages();
    applyHints();
}

TFIEC_61850_Access::~TFIEC_61850_Access()
{
    // The tree's nodes are referred to by the model; the model goes with m_cfg.
    clearTree();
}

QString TFIEC_61850_Access::filePath() const { return context().state->File_IEC_61850_Client; }

QString TFIEC_61850_Access::catalogDir() const
{
    return QDir(context().state->Dir_Project).filePath(QLatin1String(kIecCatalogFolder));
}

RuleFileSpec TFIEC_61850_Access::prepareOpening()
{
    return iecClientRuleSpec(Get_Decimal_Separator());
}

QWidget* TFIEC_61850_Access::arrangeBody(QWidget* grids)
{
    auto* split = new QSplitter(Qt::Horizontal, this);
    auto* catalogue = new QWidget(split);
    auto* catBox = new QVBoxLayout(catalogue);
    catBox->setContentsMargins(2, 2, 2, 2);
    auto button = [&](const char* name) {
        auto* b = new TFormButton(catalogue);
        b->setObjectName(QLatin1String(name));
        b->setFixedHeight(28);
        applyFormButtonLook(b);
        return b;
    };
    Btn_Add_IEC_Device = button("Btn_Add_IEC_Device");
    LB_IEC_Devices = new QListWidget(catalogue);
    LB_IEC_Devices->setObjectName(QStringLiteral("LB_IEC_Devices"));
    Btn_Remove_IEC_Device = button("Btn_Remove_IEC_Device");
    catBox->addWidget(Btn_Add_IEC_Device);
    catBox->addWidget(LB_IEC_Devices, 1);
    catBox->addWidget(Btn_Remove_IEC_Device);

    TV_IEC_Device = new QTreeWidget(split);
    TV_IEC_Device->setObjectName(QStringLiteral("TV_IEC_Device"));
    TV_IEC_Device->setHeaderHidden(true);
    TV_IEC_Device->setIndentation(19);
    TV_IEC_Device->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TV_IEC_Device->setIconSize(QSize(16, 16));

    split->addWidget(catalogue);
    split->addWidget(TV_IEC_Device);
    split->addWidget(grids);
    split->setSizes({170, 250, 780});

    connect(Btn_Add_IEC_Device, &QAbstractButton::clicked, this,
            [this] { Btn_Add_IEC_DeviceClick(); });
    connect(Btn_Remove_IEC_Device, &QAbstractButton::clicked, this,
            [this] { Btn_Remove_IEC_DeviceClick(); });
    connect(LB_IEC_Devices, &QListWidget::itemClicked, this, [this] { LB_IEC_DevicesClick(); });
    connect(TV_IEC_Device, &QTreeWidget::itemClicked, this, [this] { TV_IEC_DeviceClick(); });
    return split;
}

void TFIEC_61850_Access::built()
{
    PC_DA_DataSet = pageControl();
    TS_DA = PC_DA_DataSet->widget(0);
    TS_DataSet = PC_DA_DataSet->widget(1);
    ACG_DA = grid(kIecDaTable);
    ACG_DataSet = grid(kIecDataSetTable);
    ACG_DS_Vars = grid(kIecMemberTable);
    Btn_AddVar = extraButton("Btn_AddVar");
    Btn_RemoveVar = extraButton("Btn_RemoveVar");
    ACG_DS_Vars->OnSelectCell = [this](QObject*, int, int, bool&) {
        DataSet_Row_Select = m_shownDataSetRow;
    };
    applyOwnTexts();
}

void TFIEC_61850_Access::Set_Lang()
{
    TRuleEditorFrame::Set_Lang();
    if (isBuilt())
        applyOwnTexts();
    else
        applyHints();
}

void TFIEC_61850_Access::applyOwnTexts()
{
    Btn_Add_IEC_Device->setText(text(4908));
    Btn_Add_IEC_Device->setToolTip(text(4916));
    Btn_Remove_IEC_Device->setText(text(4909));
    Btn_Remove_IEC_Device->setToolTip(text(4917));
    applyHints();
}

void TFIEC_61850_Access::applyHints()
{
    Hint.clear();
    for (const RuleColumn& column : layout().tables[kIecDaTable].columns)
        Hint << text(column.hintText);
}

QStringList TFIEC_61850_Access::readOwnFile(RuleFile& tables)
{
    DataSet_Row_Select = 0;
    m_shownDataSetRow = 0;
    // The tree points into the devices the load frees.
    clearTree();
    const IecClientLoad load = loadIecClientFile(filePath(), catalogDir(), m_cfg);
    fillTable(tables.tables[kIecDaTable], m_cfg.daRows);
    applyStartNumByte(tables.tables[kIecDaTable]);
    fillTable(tables.tables[kIecDataSetTable], m_cfg.dataSetRows);
    return load.messages;
}

FileResult TFIEC_61850_Access::writeOwnFile(const RuleFile& tables)
{
    m_cfg.daRows = tableRows(tables.tables[kIecDaTable], kIecDaColumns);
    m_cfg.dataSetRows = tableRows(tables.tables[kIecDataSetTable], kIecDataSetColumns);
    return saveIecClientFile(m_cfg, filePath());
}

void TFIEC_61850_Access::opened()
{
    // The member grid stays empty until a data-set row is clicked.
    Show_IEC_Devices();
    PC_DA_DataSet->setCurrentIndex(0);
}

void TFIEC_61850_Access::extraButtonClick(int index)
{
    if (index == 0)
        Btn_AddVarClick();
    else
        Btn_RemoveVarClick();
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

void TFIEC_61850_Access::Set_Start_Num_Byte()
{
    if (!model())
        return;
    takeTable(kIecDaTable);
    applyStartNumByte(table(kIecDaTable));
    showTable(kIecDaTable);
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
    const std::optional<QString> chosen = dialogs().openFileName(request, this);
    if (!chosen)
        return;
    const QString dir = catalogDir();
    if (!QDir().mkpath(dir)) {
        dialogs().showError(displayPath(dir) + QStringLiteral(": the folder cannot be made"), this);
        return;
    }
    const QString name = QFileInfo(*chosen).fileName();
    const QString target = QDir(dir).filePath(name);
    const bool sameFile = QFileInfo(*chosen).canonicalFilePath()
                          == QFileInfo(target).canonicalFilePath();
    bool copy = true;
    if (QFileInfo::exists(target)) {
        const TModalResult answer = dialogs().messageDlg(
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
            dialogs().showError(displayPath(*chosen)
                                    + QStringLiteral(": the file cannot be copied"),
                                this);
            return;
        }
        QFile::remove(target);
        QFile::rename(temp, target);
    }
    CatalogEntry entry = decodeCatalogFile(dir, name, QString());
    if (entry.device->Placeholder) {
        dialogs().showError(entry.message, this);
        return;
    }
    if (!entry.message.isEmpty())
        dialogs().showWarning(entry.message, this);
    clearTree();
    m_cfg.List_IEC_Dev.push_back(std::move(entry.device));
    Show_IEC_Devices();
}

void TFIEC_61850_Access::Btn_Remove_IEC_DeviceClick()
{
    const int i = LB_IEC_Devices->currentRow();
    if (!model() || i < 0 || size_t(i) >= m_cfg.List_IEC_Dev.size())
        return;
    const int indexed[] = {kIecDaTable, kIecDataSetTable};
    for (int t : indexed)
        takeTable(t);
    // The Index column is column 1 of both grids.
    for (int t : indexed)
        for (int r = 1; r < table(t).rowCount(); ++r)
            if (strToIntDef(table(t).cell(1, r), -1) == i)
                return;
    clearTree();
    m_cfg.List_IEC_Dev.erase(m_cfg.List_IEC_Dev.begin() + i);
    for (int t : indexed) {
        for (int r = 1; r < table(t).rowCount(); ++r) {
            const int v = strToIntDef(table(t).cell(1, r), -1);
            if (v > i)
                table(t).setCell(1, r, QString::number(v - 1));
        }
        showTable(t);
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

void TFIEC_61850_Access::Btn_AddVarClick()
{
    if (!model())
        return;
    const QString index = QString::number(m_shownDevice);
    if (Selected_IEC_DA) {
        PC_DA_DataSet->setCurrentWidget(TS_DA);
        takeTable(kIecDaTable);
        RuleTable& t = table(kIecDaTable);
        const int r = addedRow(t);
        t.setCell(iecda::Index, r, index);
        t.setCell(iecda::bType, r, Selected_IEC_DA->bType);
        t.setCell(iecda::fc, r, Selected_IEC_DA->FC);
        t.setCell(iecda::Reference, r, Selected_IEC_DA->Reference);
        for (int c : {iecda::OnChange, iecda::OnCMD, iecda::OnTimer})
            t.setCell(c, r, QStringLiteral("N"));
        applyStartNumByte(t);
        showTable(kIecDaTable);
    } else if (Selected_IEC_DS) {
        PC_DA_DataSet->setCurrentWidget(TS_DataSet);
        takeTable(kIecDataSetTable);
        RuleTable& t = table(kIecDataSetTable);
        const int r = addedRow(t);
        t.setCell(1, r, index);
        t.setCell(2, r, Selected_IEC_DS->Reference);
        t.setCell(3, r, Selected_IEC_DS->GooseName);
        t.setCell(4, r,
                  Selected_IEC_DS->GooseName.isEmpty() ? QStringLiteral("N") : QStringLiteral("Y"));
        showTable(kIecDataSetTable);
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
    if (!model())
        return;
    if (PC_DA_DataSet->currentWidget() == TS_DA) {
        const int k = ACG_DA->Row();
        if (k < 1)
            return;
        takeTable(kIecDaTable);
        removeRow(table(kIecDaTable), k);
        applyStartNumByte(table(kIecDaTable));
        showTable(kIecDaTable);
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
    takeTable(kIecDataSetTable);
    RuleTable& t = table(kIecDataSetTable);
    if (m_cfg.List_DataSet.empty()) {
        t.clear();
    } else {
        removeRow(t, k);
    }
    showTable(kIecDataSetTable);
    // Mended: the member grid kept showing the removed set, and its edits went into whichever
    // set now had that row number. It follows the removal now.
    DataSet_Row_Select = 0;
    Show_DataSet_DAs();
}

void TFIEC_61850_Access::Show_DataSet_DAs()
{
    if (!model())
        return;
    const int k = ACG_DataSet->Row();
    m_shownDataSetRow = 0;
    RuleTable& t = table(kIecMemberTable);
    t.clear();
    if (k >= 1 && size_t(k) <= m_cfg.List_DataSet.size()
        && !m_cfg.List_DataSet[size_t(k - 1)]->List_DAs.empty()) {
        m_shownDataSetRow = k;
        const auto& members = m_cfg.List_DataSet[size_t(k - 1)]->List_DAs;
        t.setRowCount(int(members.size()) + 1);
        for (size_t m = 0; m < members.size(); ++m) {
            const TDataSet_DA& d = *members[m];
            const int r = int(m) + 1;
            const QString cells[] = {d.bType(),    d.reference(), d.Position, d.bitAddress,
                                     d.conversion, d.multFactor,  d.Mnemonic};
            for (int c = iecmember::bType; c <= iecmember::Mnemonic; ++c)
                t.setCell(c, r, cells[c - 1]);
        }
    }
    showTable(kIecMemberTable);
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
    case iecmember::Position: m.Position = value; break;
    case iecmember::StartBit: m.bitAddress = value; break;
    case iecmember::Convertion: m.conversion = value; break;
    case iecmember::MultFact: m.multFactor = value; break;
    case iecmember::Mnemonic: m.Mnemonic = value; break;
    default: break;
    }
}

void TFIEC_61850_Access::cellClick(int t, int, int)
{
    if (t == kIecDataSetTable)
        Show_DataSet_DAs();
}

void TFIEC_61850_Access::editCellDone(int t, int ACol, int ARow)
{
    if (t == kIecMemberTable)
        storeMemberEdit(ACol, ARow, ACG_DS_Vars->GetCellEx(ACol, ARow));
}

void TFIEC_61850_Access::comboChange(int t, int ACol, int ARow, int, const QString& ASelection)
{
    if (t == kIecMemberTable)
        storeMemberEdit(ACol, ARow, ASelection);
}

}  // namespace zfw
