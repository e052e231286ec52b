#include "shell/ShellTestFixture.h"
#include "shell/UAbout.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace zfw {
namespace {

class About : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        w = start();
        about = dynamic_cast<TFAbout*>(w->forms().form(FormId::TFAbout));
        ASSERT_NE(about, nullptr);
    }
    std::unique_ptr<TFZandovericoFirmWare> w;
    TFAbout* about = nullptr;
};

TEST_F(About, ShowsTheBuildIdentityInFixedEnglish)
{
    programState().Language_Table[12] = QStringLiteral("Informazioni");
    w->Change_Language();
    TModalResult result = mrNone;
    fakes.dialogs.onShowModal = [&](QDialog& d) {
        result = playModal(d, [&] {
            struct Expect {
                QLabel* label;
                const char* text;
            };
            const Expect expected[] = {
                {about->Label1, "Software Zandoveric "},
                {about->Label3, "Version :"},
                {about->Label6, "Software Code : "},
                {about->Label8, "Document Code :"},
                {about->Label2, "S7comm Client / LoRaWAN - Converter"},
                {about->Label9, "CFK4R89"},
                {about->Label10, "1.002"},
                {about->Label12, "DCK4R89"},
            };
            for (const Expect& e : expected)
                EXPECT_EQ(e.label->text(), QLatin1String(e.text))
                    << e.label->objectName().toStdString();
            EXPECT_EQ(about->LbButton1->text(), QStringLiteral("OK"));
            EXPECT_EQ(about->size(), QSize(425, 148));
            EXPECT_EQ(about->Image2->size(), QSize(81, 81));
            QTest::mouseClick(about->LbButton1, Qt::LeftButton);
        });
        return result;
    };
    w->Btn_Click(w->Btn_Info);
    EXPECT_EQ(result, mrOk);
    const auto following = languageFollowingForms();
    EXPECT_EQ(std::find(following.begin(), following.end(), FormId::TFAbout), following.end());
}

TEST_F(About, AddressAndLogoOpenTheHomePage)
{
    MakerWebServer web;
    web.host = QStringLiteral("127.0.0.1");
    web.port = 8080;
    w->setMakerWebServer(web);
    fakes.dialogs.onShowModal = [&](QDialog& d) {
        return playModal(d, [&] {
            EXPECT_EQ(about->Label4->text(), QStringLiteral("127.0.0.1:8080"));
            QTest::mouseClick(about->Label4, Qt::LeftButton);
            QTest::mouseClick(about->Image2, Qt::LeftButton);
        });
    };
    w->Btn_Click(w->Btn_Info);
    const QUrl home(QStringLiteral("http://127.0.0.1:8080/HOME/default.asp?frompg=CFK4R89"));
    ASSERT_EQ(fakes.urls.opened.size(), 2u);
    EXPECT_EQ(fakes.urls.opened[0], home);
    EXPECT_EQ(fakes.urls.opened[1], home);

    // The main window's address label leads to the same page.
    QTest::mouseClick(w->L_Brenik, Qt::LeftButton);
    ASSERT_EQ(fakes.urls.opened.size(), 3u);
    EXPECT_EQ(fakes.urls.opened[2], home);
}

TEST_F(About, WithoutServerTheLinksAreInert)
{
    w->setMakerWebServer(MakerWebServer{});
    about->Label4Click();
    w->L_BrenikClick();
    EXPECT_TRUE(fakes.urls.opened.empty());
    EXPECT_TRUE(w->L_Brenik->text().isEmpty());
}

}  // namespace
}  // namespace zfw
