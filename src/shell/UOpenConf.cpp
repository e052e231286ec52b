#include "shell/UOpenConf.h"

#include "common/UComon.h"
#include "platform/Dialogs.h"

#include <QCollator>
#include <QDir>
#include <QLabel>
#include <QListWidget>

#include <algorithm>

namespace zfw {

namespace {
constexpr int kClientWidth = 377;
constexpr int kClientHeight = 351;
}  // namespace

TFOpenConf::TFOpenConf(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("TFOpenConf"));
    FormCreate();
}

void TFOpenConf::FormCreate()
{
    setFont(QFont(QStringLiteral("Verdana"), 8));
    const TitlePanel title = makeTitlePanel(this, kClientWidth);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;
    Label1 = makeFormLabel(this, "Label1", 16, 64);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(16, 82, kClientWidth - 32, 212);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    Btn_OK = makeFormButton(this, "Btn_OK", 157, 306, 100, 32);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", 261, 306, 100, 32);

    Btn_OK->setModalResult(mrOk);
    Btn_Cancel->setModalResult(mrCancel);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    // A selection moved with the keys counts as a click, as it does for the mouse.
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] { ListBox1Click(); });

    L_SW_Code->setText(programState().SW_Code);
    L_SW_Code->adjustSize();
    setFixedClientSize(kClientWidth, kClientHeight);
    Set_Lang();
}

void TFOpenConf::Set_Lang()
{
    const ProgramState& s = programState();
    setWindowTitle(s.lang(200));
    L_SW_Desc->setText(s.lang(201));
    L_SW_Desc->adjustSize();
    Label1->setText(s.lang(202));
    Label1->adjustSize();
    Btn_OK->setText(s.lang(203));
    Btn_OK->setToolTip(s.lang(206));
    Btn_Cancel->setText(s.lang(204));
    Btn_Cancel->setToolTip(s.lang(207));
    ListBox1->setToolTip(s.lang(205));
}

void TFOpenConf::Load_Existing_Configuration()
{
    SL.clear();
    const QStringList dirs =
        QDir(programState().Dir_Projects).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& d : dirs)
        if (isValidProjectName(d))  // the same test as at start-up, so what opens reopens
            SL.append(d);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(SL.begin(), SL.end(), [&](const QString& a, const QString& b) {
        const int c = collator.compare(a, b);
        return c != 0 ? c < 0 : a < b;
    });
}

int TFOpenConf::Search_Open_Conf(const QString& name) const
{
    for (int i = 0; i < SL.size(); ++i)
        if (SL[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TFOpenConf::FormShow()
{
    Load_Existing_Configuration();
    {
        const QSignalBlocker block(ListBox1);
        ListBox1->clear();
        ListBox1->addItems(SL);
    }
    const ProgramState& s = programState();
    QString current;
    const QString prefix = joinPath(s.Dir_Projects, QString());
    if (s.isProjectActive() && s.Dir_Project.startsWith(prefix))
        current = s.Dir_Project.mid(prefix.size());
    int row = Search_Open_Conf(current);
    if (row < 0 && !SL.isEmpty())
        row = 0;
    // With an empty list Name_Conf keeps the name of the previous opening.
    if (row >= 0) {
        ListBox1->setCurrentRow(row);
        Name_Conf = SL[row];
    }
    ListBox1->setFocus();
}

void TFOpenConf::ListBox1Click()
{
    if (QListWidgetItem* item = ListBox1->currentItem())
        Name_Conf = item->text();
}

}  // namespace zfw
