#include "shell/UNew_Project.h"

#include "common/UComon.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

namespace zfw {

namespace {
constexpr int kClientWidth = 331;
constexpr int kClientHeight = 162;
}  // namespace

QString findEntryIgnoringCase(const QString& folder, const QString& name)
{
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden
                                                       | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return QString();
}

TFNew_Project::TFNew_Project(QWidget* parent) : TModalForm(parent)
{
    setObjectName(QStringLiteral("TFNew_Project"));
    FormCreate();
}

void TFNew_Project::FormCreate()
{
    setFont(QFont(QStringLiteral("Verdana"), 8));
    const TitlePanel title = makeTitlePanel(this, kClientWidth);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;
    Label1 = makeFormLabel(this, "Label1", 16, 68);
    E_New_Proj = new QLineEdit(this);
    E_New_Proj->setObjectName(QStringLiteral("E_New_Proj"));
    E_New_Proj->setGeometry(16, 86, kClientWidth - 32, 22);
    Btn_OK = makeFormButton(this, "Btn_OK", 111, 120, 100, 32);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", 215, 120, 100, 32);

    connect(Btn_OK, &QAbstractButton::clicked, this, &TFNew_Project::Btn_OKClick);
    Btn_Cancel->setModalResult(mrCancel);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    // Enter in the name runs the OK action.
    connect(E_New_Proj, &QLineEdit::returnPressed, this, &TFNew_Project::Btn_OKClick);

    L_SW_Code->setText(programState().SW_Code);
    L_SW_Code->adjustSize();
    setFixedClientSize(kClientWidth, kClientHeight);
    Set_Lang();
}

void TFNew_Project::Set_Lang()
{
    const ProgramState& s = programState();
    setWindowTitle(s.lang(100));
    L_SW_Desc->setText(s.lang(101));
    L_SW_Desc->adjustSize();
    Label1->setText(s.lang(102));
    Label1->adjustSize();
    Btn_OK->setText(s.lang(103));
    Btn_OK->setToolTip(s.lang(109));
    Btn_Cancel->setText(s.lang(104));
    Btn_Cancel->setToolTip(s.lang(110));
    E_New_Proj->setToolTip(s.lang(108));
}

void TFNew_Project::FormShow()
{
    E_New_Proj->clear();
    E_New_Proj->setFocus();
}

void TFNew_Project::Btn_OKClick()
{
    ProgramState& s = programState();
    IUserDialogs& dialogs = *services().dialogs;
    // The name is used as typed: blanks inside and in front are legal in a folder name.
    const QString name = E_New_Proj->text();
    if (name.isEmpty()) {
        dialogs.showError(s.lang(107), this);
        return;
    }
    // A name that is no plain folder name inside PROJECTS (a path, "..", a name one of the
    // systems refuses) would put the project, and every file the editors write, elsewhere.
    // A name beginning with a dot makes a hidden folder, which Open Configuration does not
    // list: once another project was opened, this one could never be reached again. (Only
    // new names are refused: a project of that name made earlier still opens at start-up.)
    if (!isValidProjectName(name) || name.startsWith(u'.')) {
        dialogs.showError(s.lang(105), this);
        return;
    }
    // Projects move between systems that ignore letter case and systems that do not, so a
    // name that differs only in case already exists.
    const QString existing = findEntryIgnoringCase(s.Dir_Projects, name);
    if (!existing.isEmpty()) {
        const bool isFolder = QFileInfo(joinPath(s.Dir_Projects, existing)).isDir();
        dialogs.showError(s.lang(isFolder ? 106 : 105), this);
        return;
    }
    const QString dir = joinPath(s.Dir_Projects, name);
    if (!QDir().mkdir(dir)) {
        dialogs.showError(s.lang(105), this);
        return;
    }
    QDir().mkpath(joinPath(dir, QStringLiteral("bin")));

    s.Project_Name = name;
    s.Dir_Project = dir;
    Set_Files(s);
    done(mrOk);
}

}  // namespace zfw
