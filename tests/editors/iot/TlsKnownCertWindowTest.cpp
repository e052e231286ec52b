// The known TLS certificates window: certificates of many lines through the cell and the file,
// the list ending at the first blank certificate, and the check-box rows.

#include "editors/iot/UTLS_Server_Known_Cert.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "grid/ExtGrid.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QTest>

namespace zfw {
namespace {

const QString kCert = QStringLiteral(
    "-----BEGIN CERTIFICATE-----\nMIIBszCCAVmgAwIBAgIUQ2Vy\n-----END CERTIFICATE-----");

class TlsKnownCertTest : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        s.File_TLS_Known_Cert = path(QStringLiteral("TLS_Known_Cert.xml"));
        m_form = std::make_unique<TFTLS_Server_Known_Cert>(
            RuleEditorContext{&s, QStringLiteral("CODE"), &m_fakes.dialogs});
    }
    void reopen()
    {
        m_fakes.dialogs.messages.clear();
        m_form->hide();
        m_form->show();
    }
    TExtStringGrid* grid() const { return m_form->ESG; }
    void click(const char* name)
    {
        auto* b = m_form->findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    bool ticked(int r) const
    {
        bool state = false;
        EXPECT_TRUE(grid()->GetCheckBoxState(1, r, state)) << r;
        return state;
    }
    QByteArray file() const { return test::readFile(programState().File_TLS_Known_Cert); }

    test::ScopedFakeServices m_fakes;
    std::unique_ptr<TFTLS_Server_Known_Cert> m_form;
};

TEST_F(TlsKnownCertTest, OpensWithTenTickedEmptyRowsOfSixtyPixels)
{
    reopen();
    ASSERT_NE(grid(), nullptr);
    EXPECT_EQ(grid()->RowCount(), 11);
    EXPECT_EQ(grid()->ColCount(), 4);
    for (int r = 1; r <= 10; ++r) {
        EXPECT_TRUE(ticked(r));
        EXPECT_EQ(grid()->RowHeights(r), 60);
        EXPECT_EQ(grid()->GetCellEx(2, r), QString());
    }
    EXPECT_EQ(grid()->GetCellEx(2, 0), QStringLiteral("Certificate"));
    EXPECT_EQ(m_form->Hint_List().value(1), QStringLiteral("Insert the TLS Certificate"));
}

// A certificate of three lines, blanks around it, survives the file and the next opening.
TEST_F(TlsKnownCertTest, ManyLineCertificateRoundTrip)
{
    reopen();
    const QString padded = QStringLiteral("  ") + kCert + QStringLiteral("\r\n");
    grid()->SetCellEx(2, 1, padded);
    grid()->SetCellEx(3, 1, QStringLiteral("plant CA"));
    grid()->SetCellEx(2, 2, kCert);
    grid()->SetCheckBoxState(1, 2, false);
    click("Btn_OK");
    EXPECT_TRUE(m_fakes.dialogs.messages.empty());
    const QByteArray bytes = file();
    EXPECT_TRUE(bytes.startsWith("<TLS_Server_Known_Cert>")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("<!--SW_VERSION = 1.000-->"));
    EXPECT_TRUE(bytes.contains("Enable=\"N\""));

    reopen();
    EXPECT_EQ(grid()->GetCellEx(2, 1), padded);
    EXPECT_EQ(grid()->GetCellEx(3, 1), QStringLiteral("plant CA"));
    EXPECT_EQ(grid()->GetCellEx(2, 2), kCert);
    EXPECT_TRUE(ticked(1));
    EXPECT_FALSE(ticked(2));
}

TEST_F(TlsKnownCertTest, PastedCertificateKeepsItsLines)
{
    reopen();
    QApplication::setActiveWindow(m_form.get());
    grid()->setFocus();
    grid()->MoveCurrentCell(2, 1, true, true);
    QTest::keyClicks(grid(), QStringLiteral("x"));
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QApplication::clipboard()->setText(kCert);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Down);
    click("Btn_OK");
    reopen();
    EXPECT_EQ(grid()->GetCellEx(2, 1), kCert);
}

// Row 3 blank while rows 4 and 5 hold certificates: the user is asked, then rows 1 and 2 are
// written and the next opening shows rows 4 and 5 empty.
TEST_F(TlsKnownCertTest, ListEndsAtTheFirstBlankCertificate)
{
    reopen();
    for (int r : {1, 2, 4, 5})
        grid()->SetCellEx(2, r, kCert + QString::number(r));
    grid()->SetCellEx(2, 3, QStringLiteral("   "));
    m_fakes.dialogs.messageAnswers = {TModalResult::mrYes};
    click("Btn_OK");
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(file().count("<row "), 2) << file().toStdString();
    reopen();
    EXPECT_EQ(grid()->GetCellEx(2, 2), kCert + QStringLiteral("2"));
    EXPECT_EQ(grid()->GetCellEx(2, 4), QString());
    EXPECT_EQ(grid()->GetCellEx(2, 5), QString());
}

TEST_F(TlsKnownCertTest, RowWithoutEnableReadsTickedAndAnyRootIsRead)
{
    ASSERT_TRUE(test::writeFile(programState().File_TLS_Known_Cert,
                                "<Other><row Certificate=\"A\" Mnemonic=\"m\"/>"
                                "<row Enable=\"N\" Certificate=\"B\"/>"
                                "<row Enable=\"n\" Certificate=\"C\"/></Other>"));
    reopen();
    EXPECT_EQ(grid()->GetCellEx(2, 1), QStringLiteral("A"));
    EXPECT_TRUE(ticked(1));
    EXPECT_FALSE(ticked(2));
    EXPECT_TRUE(ticked(3));
}

TEST_F(TlsKnownCertTest, DeleteLeavesTheLastRowEmptyAndTicked)
{
    reopen();
    for (int r = 1; r <= 10; ++r)
        grid()->SetCellEx(2, r, kCert + QString::number(r));
    grid()->SetCheckBoxState(1, 10, false);
    grid()->MoveCurrentCell(2, 1, true, true);
    m_fakes.dialogs.messageAnswers = {TModalResult::mrYes};
    click("Btn_DelRow");
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].text,
              QStringLiteral("Are you sure to delete the Row number 1"));
    EXPECT_EQ(grid()->GetCellEx(2, 1), kCert + QStringLiteral("2"));
    EXPECT_FALSE(ticked(9));
    EXPECT_EQ(grid()->GetCellEx(2, 10), QString());
    EXPECT_TRUE(ticked(10));
}

// The emptied row 10 of a delete is locked with its box ticked; an insert above moves it down
// out of the table, and the row that takes its place is editable again.
TEST_F(TlsKnownCertTest, DeleteLocksRowTenUntilAnInsertAbove)
{
    reopen();
    for (int r = 1; r <= 10; ++r)
        grid()->SetCellEx(2, r, kCert + QString::number(r));
    grid()->MoveCurrentCell(2, 4, true, true);
    m_fakes.dialogs.messageAnswers = {TModalResult::mrYes};
    click("Btn_DelRow");
    for (int c = 1; c <= 3; ++c) {
        EXPECT_TRUE(grid()->GetReadOnly(c, 10)) << c;
        EXPECT_FALSE(grid()->GetReadOnly(c, 9)) << c;
    }
    EXPECT_TRUE(ticked(10));
    // Typing into the locked certificate cell changes nothing.
    QApplication::setActiveWindow(m_form.get());
    grid()->setFocus();
    grid()->MoveCurrentCell(2, 10, true, true);
    QTest::keyClicks(grid(), QStringLiteral("x"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(grid()->GetCellEx(2, 10), QString());

    grid()->MoveCurrentCell(2, 2, true, true);
    click("Btn_InsRow");
    EXPECT_EQ(grid()->GetCellEx(2, 10), kCert + QStringLiteral("10"));
    for (int r : {2, 10})
        for (int c = 1; c <= 3; ++c)
            EXPECT_FALSE(grid()->GetReadOnly(c, r)) << c << "," << r;
    EXPECT_TRUE(ticked(2));
    // A save and the next opening leave no row locked.
    m_fakes.dialogs.messageAnswers = {TModalResult::mrYes};
    click("Btn_OK");
    reopen();
    for (int r = 1; r <= 10; ++r)
        EXPECT_FALSE(grid()->GetReadOnly(2, r)) << r;
}

// Enable light orange and centred, Certificate light cyan, Mnemonic white, on every row.
TEST_F(TlsKnownCertTest, ColumnsShowTheirColours)
{
    reopen();
    grid()->MoveCurrentCell(3, 1, true, true);
    QApplication::processEvents();
    const QImage img = grid()->viewport()->grab().toImage();
    auto colourAt = [&](int c, int r) {
        const TRect cell = grid()->CellRect(grid()->DisplColIndex(c), r);
        return img.pixelColor(cell.Right - 5, cell.Bottom - 4);  // away from the text and box
    };
    for (int r : {2, 3}) {
        EXPECT_EQ(colourAt(1, r), QColor(255, 216, 176)) << r;
        EXPECT_EQ(colourAt(2, r), QColor(224, 250, 254)) << r;
        EXPECT_EQ(colourAt(3, r), QColor(Qt::white)) << r;
        EXPECT_EQ(grid()->GetAlignments(1, r), taCenter);
    }
}

}  // namespace
}  // namespace zfw
