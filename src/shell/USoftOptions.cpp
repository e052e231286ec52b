#include "shell/USoftOptions.h"

#include "common/TextUtil.h"
#include "common/UComon.h"
#include "common/ULanguage.h"
#include "platform/Dialogs.h"
#include "platform/Http.h"
#include "platform/Services.h"
#include "shell/MakerWeb.h"

#include <QCheckBox>
#include <QCollator>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMetaMethod>
#include <QPixmap>
#include <QPointer>
#include <QTabWidget>

#include <algorithm>

namespace zfw {

namespace {

constexpr int kClientWidth = 509;
constexpr int kClientHeight = 373;
constexpr int kSlotsPerPage = 6;
constexpr int kFlagSize = 48;

// Slot positions on the language page: left column slots 1-3, right column 4-6.
constexpr int kImageLeft[kSlotsPerPage] = {24, 26, 24, 254, 254, 254};
constexpr int kLabelLeft[kSlotsPerPage] = {80, 80, 80, 310, 310, 310};
constexpr int kImageTop[3] = {40, 94, 148};
constexpr int kLabelTop[3] = {56, 110, 164};

// Loads a flag picture; the colour of its lower-left pixel is transparent. Null when the
// file is missing or is no picture.
QPixmap loadFlag(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return QPixmap();
    QImage image;
    if (!image.load(path) || image.isNull())
        return QPixmap();
    const QColor key = image.pixelColor(0, image.height() - 1);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(key, Qt::MaskInColor));
    return pixmap;
}

QString asciiUpper(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return r;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, int left, int top)
{
    auto* c = new QCheckBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(left, top, 440, 22);
    return c;
}

QWidget* makePage(QTabWidget* tabs, const char* name)
{
    auto* page = new QWidget(tabs);
    page->setObjectName(QLatin1String(name));
    tabs->addTab(page, QString());
    return page;
}

}  // namespace

TFSoftOptions::TFSoftOptions(QWidget* parent) : TFSoftOptions(ShellServices{}, parent) {}

TFSoftOptions::TFSoftOptions(const ShellServices& shell, QWidget* parent)
    : TModalForm(parent), m_shell(shell)
{
    setObjectName(QStringLiteral("TFSoftOptions"));
    FormCreate();
}

void TFSoftOptions::FormCreate()
{
    setFont(QFont(QStringLiteral("Verdana"), 8));
    const TitlePanel title = makeTitlePanel(this, kClientWidth);
    L_SW_Code = title.code;
    L_SW_Desc = title.description;

    PC_Options = new QTabWidget(this);
    PC_Options->setObjectName(QStringLiteral("PC_Options"));
    PC_Options->setGeometry(8, 64, kClientWidth - 16, 258);
    TS_Language = makePage(PC_Options, "TS_Language");
    TS_Con_Options = makePage(PC_Options, "TS_Con_Options");
    TS_Soft_Settings = makePage(PC_Options, "TS_Soft_Settings");

    L_Sel_Lang = makeFormLabel(TS_Language, "L_Sel_Lang", 24, 12);
    QFont bold = font();
    bold.setBold(true);
    L_Sel_Lang->setFont(bold);
    for (int k = 0; k < kSlotsPerPage; ++k) {
        const QByteArray n = QByteArray::number(k + 1);
        I_L[k] = makeFormLabel(TS_Language, ("I_L" + n).constData(), kImageLeft[k],
                               kImageTop[k % 3]);
        // Pictures are shown as they are: a larger one is cut, never scaled.
        I_L[k]->resize(kFlagSize, kFlagSize);
        I_L[k]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        L_L[k] = makeFormLabel(TS_Language, ("L_L" + n).constData(), kLabelLeft[k],
                               kLabelTop[k % 3]);
        for (QLabel* l : {I_L[k], L_L[k]}) {
            l->setCursor(Qt::PointingHandCursor);
            l->installEventFilter(this);
            l->hide();
        }
    }
    L_Page_Lang = makeFormLabel(TS_Language, "L_Page_Lang", 24, 206);
    Btn_Prev = makeFormButton(TS_Language, "Btn_Prev", 254, 198, 100, 28);
    Btn_Next = makeFormButton(TS_Language, "Btn_Next", 362, 198, 100, 28);

    CB_En_Con = makeCheckBox(TS_Con_Options, "CB_En_Con", 24, 20);
    CB_Update = makeCheckBox(TS_Con_Options, "CB_Update", 24, 50);
    Btn_Check_Update = makeFormButton(TS_Con_Options, "Btn_Check_Update", 24, 88, 220, 32);
    LL_Check_Update = makeFormLabel(TS_Con_Options, "LL_Check_Update", 24, 134);
    LL_Check_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    LL_Check_Update->setOpenExternalLinks(false);
    LL_Check_Update->hide();

    CB_Soft_Set_Jump_Table = makeCheckBox(TS_Soft_Settings, "CB_Soft_Set_Jump_Table", 24, 20);
    CB_DoubleClick_Auto_Size = makeCheckBox(TS_Soft_Settings, "CB_DoubleClick_Auto_Size", 24, 50);

    Btn_OK = makeFormButton(this, "Btn_OK", 293, 331, 100, 32);
    Btn_Cancel = makeFormButton(this, "Btn_Cancel", 401, 331, 100, 32);

    connect(Btn_OK, &QAbstractButton::clicked, this, &TFSoftOptions::Btn_OKClick);
    Btn_Cancel->setModalResult(mrCancel);
    setFormButtonGlyph(Btn_OK, "LBOK");
    setFormButtonGlyph(Btn_Cancel, "LBCANCEL");
    for (TFormButton* b : {Btn_Prev, Btn_Next})
        connect(b, &QAbstractButton::clicked, this, [this, b] { Btn_NextClick(b); });
    for (QCheckBox* c : {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size})
        connect(c, &QAbstractButton::toggled, this, &TFSoftOptions::CB_En_ConClick);
    connect(Btn_Check_Update, &QAbstractButton::clicked, this,
            &TFSoftOptions::Btn_Check_UpdateClick);
    connect(LL_Check_Update, &QLabel::linkActivated, this,
            &TFSoftOptions::LL_Check_UpdateLinkClick);

    L_SW_Code->setText(programState().SW_Code);
    L_SW_Code->adjustSize();
    setFixedClientSize(kClientWidth, kClientHeight);
    Set_Lang();
}

void TFSoftOptions::Set_Lang()
{
    const ProgramState& s = programState();
    setWindowTitle(s.lang(300));
    L_SW_Desc->setText(s.lang(301));
    L_SW_Desc->adjustSize();
    PC_Options->setTabText(PC_Options->indexOf(TS_Language), s.lang(302));
    PC_Options->setTabText(PC_Options->indexOf(TS_Con_Options), s.lang(303));
    PC_Options->setTabText(PC_Options->indexOf(TS_Soft_Settings), s.lang(319));
    L_Sel_Lang->setText(s.lang(304));
    L_Page_Lang->setText(s.lang(305) + QLatin1Char('1') + s.lang(306) + QLatin1Char('1'));
    Btn_Prev->setText(s.lang(307));
    Btn_Next->setText(s.lang(308));
    CB_En_Con->setText(s.lang(309));
    CB_Update->setText(s.lang(310));
    Btn_Check_Update->setText(s.lang(311));
    Btn_OK->setText(s.lang(312));
    Btn_Cancel->setText(s.lang(313));
    CB_Soft_Set_Jump_Table->setText(s.lang(320));
    CB_DoubleClick_Auto_Size->setText(s.lang(321));
    // After a change of language the page label used to read "1 / 1" and the selected
    // language lost its name until the next page change; the page shown is redrawn instead.
    if (m_listBuilt)
        Update_Lang_Page(Show_Page);
    else {
        L_Sel_Lang->adjustSize();
        L_Page_Lang->adjustSize();
    }
}

void TFSoftOptions::FormShow()
{
    const ProgramState& s = programState();
    ++m_showing;
    Language_In_Use = s.Language_Name;
    Create_Lang_List();
    CB_En_Con->setChecked(s.Opt_Enable_Internet);
    CB_Update->setChecked(s.Opt_Enable_Update);
    CB_Soft_Set_Jump_Table->setChecked(s.Opt_Jump_Field_Tables);
    CB_DoubleClick_Auto_Size->setChecked(s.Opt_Double_Click_Auto_Size);
    Update_CheckBox();
    LL_Check_Update->hide();
    PC_Options->setCurrentWidget(TS_Language);
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages.clear();
    // Only files the language loader can open: the extension in this exact case. A file
    // without write permission for its owner stands for a read-only one, which is not offered.
    const QFileInfoList files = QDir(programState().Dir_Language)
                                    .entryInfoList({QStringLiteral("*.lng")},
                                                   QDir::Files | QDir::Hidden | QDir::System
                                                       | QDir::CaseSensitive);
    for (const QFileInfo& f : files)
        if (f.permission(QFileDevice::WriteOwner))
            SL_Languages.append(f.fileName());
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(SL_Languages.begin(), SL_Languages.end(),
                     [&](const QString& a, const QString& b) {
                         const int c = collator.compare(a, b);
                         return c != 0 ? c < 0 : a < b;
                     });
    m_listBuilt = true;
    Show_Page = 1;
    Update_Lang_Page(1);
}

void TFSoftOptions::Update_Lang_Page(int p)
{
    const ProgramState& s = programState();
    const int count = static_cast<int>(SL_Languages.size());
    const int pages = pageCount();
    L_Sel_Lang->setText(s.lang(304) + Language_In_Use);
    L_Sel_Lang->adjustSize();
    L_Page_Lang->setText(s.lang(305) + QString::number(p) + s.lang(306) + QString::number(pages));
    L_Page_Lang->adjustSize();
    Btn_Prev->setVisible(p != 1);
    // With no language at all there is no page 1 either, and Next used to stay shown doing
    // nothing; it shows only where a further page exists.
    Btn_Next->setVisible(p < pages);

    const int m = std::min(kSlotsPerPage, count - kSlotsPerPage * p + kSlotsPerPage);
    const QString dir = s.Dir_Language;
    for (int k = 0; k < kSlotsPerPage; ++k) {
        if (k >= m) {
            I_L[k]->hide();
            L_L[k]->hide();
            continue;
        }
        const QString name = SL_Languages[(p - 1) * kSlotsPerPage + k].chopped(4);
        L_L[k]->setText(name);
        L_L[k]->adjustSize();
        L_L[k]->show();
        QPixmap flag = loadFlag(joinPath(dir, name + QStringLiteral(".bmp")));
        if (flag.isNull())
            flag = loadFlag(joinPath(dir, QStringLiteral("DefaultFlag.bmp")));
        I_L[k]->setPixmap(flag);
        I_L[k]->setVisible(!flag.isNull());
    }
}

void TFSoftOptions::Btn_NextClick(QObject* sender)
{
    if (sender == Btn_Next && pageCount() >= Show_Page + 1)
        ++Show_Page;
    else if (sender == Btn_Prev && Show_Page > 1)
        --Show_Page;
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::LangClick(int k)
{
    const int index = (Show_Page - 1) * kSlotsPerPage + k - 1;
    if (k < 1 || k > kSlotsPerPage || index < 0 || index >= SL_Languages.size())
        return;
    ProgramState& s = programState();
    const QString name = SL_Languages[index].chopped(4);
    const QString question = s.lang(316) + Language_In_Use + s.lang(317) + name + s.lang(318);
    if (!services().dialogs->askYesNo(question, this))
        return;
    // The table takes the chosen language now; the remembered one changes only on OK.
    const QString remembered = s.Language_Name;
    s.Language_Name = name;
    Load_Language(s);
    // A file removed since the listing falls back to English; the window names the language
    // actually loaded rather than the one that could not be.
    Language_In_Use = s.Language_Name;
    s.Language_Name = remembered;
    if (isSignalConnected(QMetaMethod::fromSignal(&TFSoftOptions::languageChanged)))
        emit languageChanged();
    else
        Set_Lang();
}

void TFSoftOptions::Update_CheckBox()
{
    CB_Update->setEnabled(CB_En_Con->isChecked());
    Btn_Check_Update->setEnabled(CB_En_Con->isChecked() && CB_Update->isChecked());
}

void TFSoftOptions::CB_En_ConClick() { Update_CheckBox(); }

void TFSoftOptions::Btn_Check_UpdateClick()
{
    QPointer<TFSoftOptions> self(this);
    const int opening = m_showing;
    Check_Version([self, opening](VersionAnswer answer) {
        if (!self || self->m_showing != opening)
            return;
        const ProgramState& s = programState();
        QLabel* link = self->LL_Check_Update;
        if (answer == VersionAnswer::Newer) {
            link->setTextFormat(Qt::RichText);
            link->setText(updateLinkHtml(self->m_shell.web, s.lang(314)));
        } else {
            // A build without a server used to answer "No Update Available" although it had
            // asked no one; that text is now kept for an answer of the server.
            link->setTextFormat(Qt::PlainText);
            link->setText(s.lang(answer == VersionAnswer::Unavailable ? 322 : 315));
        }
        link->adjustSize();
        link->show();
    });
}

void TFSoftOptions::LL_Check_UpdateLinkClick(const QString& link)
{
    urlOpenerOf(m_shell).openUrl(QUrl(link));
}

void TFSoftOptions::Btn_OKClick()
{
    ProgramState& s = programState();
    s.Language_Name = Language_In_Use;
    s.Opt_Enable_Internet = CB_En_Con->isChecked();
    s.Opt_Enable_Update = CB_Update->isChecked();
    s.Opt_Jump_Field_Tables = CB_Soft_Set_Jump_Table->isChecked();
    s.Opt_Double_Click_Auto_Size = CB_DoubleClick_Auto_Size->isChecked();
    done(mrOk);
}

void TFSoftOptions::Check_Version(std::function<void(VersionAnswer)> done)
{
    zfw::Check_Version(m_shell.http, m_shell.web, std::move(done));
}

void Check_Version(IHttpGet* http, const MakerWebServer& web,
                   std::function<void(VersionAnswer)> done)
{
    if (!http || !web.isSet()) {
        done(VersionAnswer::Unavailable);
        return;
    }
    http->get(versionPageUrl(web), web.timeoutMs, [done = std::move(done)](const HttpReply& reply) {
        // Any failure (no network, refused, error status, time-out) is "no newer version".
        const bool newer = reply.ok
                           && TFSoftOptions::versionReplyIsNewer(QString::fromUtf8(reply.body),
                                                                 QLatin1String(Build_SW_Version));
        done(newer ? VersionAnswer::Newer : VersionAnswer::NotNewer);
    });
}

int TFSoftOptions::Conv_Version(const QString& Ver_str)
{
    const qsizetype blank = Ver_str.indexOf(QLatin1Char(' '));
    const QString t = trimBlanks(blank >= 0 ? QStringView(Ver_str).mid(blank + 1)
                                            : QStringView(Ver_str));
    if (t.size() < 5)
        return -1;
    const QString digits = QString(t[0]) + t[2] + t[3] + t[4];
    return parseIntText(digits).value_or(-1);
}

bool TFSoftOptions::versionReplyIsNewer(const QString& reply, const QString& local)
{
    const QString r = asciiUpper(trimBlanks(reply));
    if (r.isEmpty() || r == QLatin1String("VER. 0.000"))
        return false;
    const int localNumber = Conv_Version(local);
    const int remoteNumber = Conv_Version(trimBlanks(reply));
    return localNumber != -1 && remoteNumber != -1 && remoteNumber > localNumber;
}

bool TFSoftOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int k = 0; k < kSlotsPerPage; ++k)
            if (watched == I_L[k] || watched == L_L[k]) {
                LangClick(k + 1);
                return true;
            }
    }
    return TModalForm::eventFilter(watched, event);
}

}  // namespace zfw
