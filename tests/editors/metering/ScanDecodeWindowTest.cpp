// Scan & Decode as a user drives it, against the simulated gateway on 127.0.0.1: the options
// layouts, a primary scan with its progress lines, unticking and saving, appending with the
// start register, and closing during a scan.

#include "editors/metering/UScanDecode.h"
#include "editors/metering/UScanDialogs.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/metering/core/MBusNetwork.h"
#include "editors/metering/scan/MBusGatewayProtocol.h"
#include "editors/metering/scan/MBusScanDecode.h"
#include "platform/Datagram.h"
#include "scan/FakeRadioGateway.h"
#include "scan/FakeUdpGateway.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace zfw {
namespace {

// Gateway time two hundred times faster than the wall clock; loopback answers still come at
// once.
class FastClock final : public IScanClock {
public:
    QDateTime dateTime() override { return QDateTime::currentDateTime(); }
    quint32 tick() override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return quint32(std::chrono::duration_cast<std::chrono::microseconds>(now).count() / 5);
    }
    void sleep(int milliseconds) override
    {
        std::this_thread::sleep_for(std::chrono::microseconds(milliseconds * 5));
    }
};

// A primary scan waits out the time-outs of the absent addresses in wall time: about 5 s in an
// optimised build, several times that under the sanitizers on a loaded machine.
template <typename Done>
bool pumpUntil(Done done, int seconds = 60)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done() && std::chrono::steady_clock::now() < limit) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    QApplication::processEvents();
    return done();
}

class ScanDecodeWindow : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        s.Dir_Project = root();
        s.SW_Code = QString::fromLatin1(Build_SW_Code);
        Set_Files(s);
        Fill_Default_Language(s);
    }
    void TearDown() override
    {
        window.reset();
        engine.reset();
        TempStateTest::TearDown();
    }

    // A window on an engine that talks to gateway; the address fields point at 127.0.0.1
    // (the window's default is a real address and must never be a target).
    void open(test::FakeUdpGateway& gateway, int code = 0)
    {
        TMBusScanDecode::Services s;
        s.makeTransport = [] { return std::make_unique<UdpTransport>(); };
        s.clock = &clock;
        s.gatewayPort = gateway.port();
        s.stepPause = std::chrono::milliseconds(2);
        // The fake gateway holds its own port on 127.0.0.1; a wireless scan listens on any other.
        s.wirelessLocalPort = 0;
        engine = std::make_unique<TMBusScanDecode>(s);
        ScanDecodeServices with;
        with.engine = engine.get();
        with.dialogs = &fakes.dialogs;
        window = std::make_unique<TFScanDecode>(nullptr, with);
        window->XML_Code_Dev = code;
        window->FileName_MBus = programState().File_M_Bus;
        window->FormShow();
        window->E_IP1->setText(QStringLiteral("127"));
        window->E_IP2->setText(QStringLiteral("0"));
        window->E_IP3->setText(QStringLiteral("0"));
        window->E_IP4->setText(QStringLiteral("1"));
    }
    void scan()
    {
        window->Btn_StartScan->click();
        ASSERT_EQ(window->formStyle(), 2);
        ASSERT_TRUE(pumpUntil([&] { return window->formStyle() == 3; }))
            << "state " << window->formStyle() << ", messages "
            << messages().join(QLatin1Char('|')).toStdString() << ", progress lines "
            << window->LB_AvailableDevice->count();
    }
    QStringList messages() const
    {
        QStringList l;
        for (const auto& m : fakes.dialogs.messages)
            l.append(m.text);
        return l;
    }
    QString text(int n) const { return programState().lang(n); }

    FastClock clock;
    test::ScopedFakeServices fakes;
    std::unique_ptr<TMBusScanDecode> engine;
    std::unique_ptr<TFScanDecode> window;
};

// The Modbus register of every record in the saved network file, in order.
std::vector<int> modbusRegisters()
{
    std::vector<int> r;
    const QString text = QString::fromUtf8(test::readFile(programState().File_M_Bus));
    static const QRegularExpression reg(QStringLiteral("ModReg=\"(\\d+)\""));
    for (auto m = reg.globalMatch(text); m.hasNext();)
        r.push_back(m.next().captured(1).toInt());
    return r;
}

void threeMeters(test::FakeGatewayLine& line)
{
    line.meters = {{1, "00000011", 1}, {2, "00000012", 1}, {3, "00000013", 1}};
}

TEST_F(ScanDecodeWindow, PrimaryScanShowsALinePerAddressAndSavesTheTicks)
{
    test::FakeUdpGateway gateway(threeMeters);
    open(gateway);
    scan();
    QListWidget* list = window->LB_AvailableDevice;
    ASSERT_EQ(list->count(), 251);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("ID = 1\t"));
    EXPECT_EQ(list->item(4)->text(), QStringLiteral("ID = 4\t[NOT FOUND]"));
    TLazyStringTree* tree = window->VST;
    ASSERT_EQ(tree->RootNodeCount(), 3u);
    PLazyNode first = tree->GetFirstChild(tree->RootNode());
    EXPECT_TRUE(tree->GetText(first, NoColumn)
                    .startsWith(QStringLiteral("Primary Address = 1 - Secondary Address = ")));
    PLazyNode record = tree->GetFirstChild(tree->GetNextSibling(first));
    ASSERT_NE(record, nullptr);
    tree->SetExpanded(record, true);
    EXPECT_EQ(record->ChildCount, 12u);
    tree->SetCheckState(record, csUncheckedNormal);
    // Its only record unticked, the slave follows: what the tree shows is what is saved.
    ASSERT_EQ(record->Parent->ChildCount, 1u);
    EXPECT_EQ(tree->CheckState(record->Parent), csUncheckedNormal);
    // The third slave is unticked before its records were ever made.
    PLazyNode third = tree->GetNextSibling(record->Parent);
    EXPECT_EQ(third->FirstChild, nullptr);
    tree->SetCheckState(third, csUncheckedNormal);

    window->Btn_SaveConf->click();
    EXPECT_EQ(messages(), QStringList{text(2130)});
    const MBusNetworkLoad load = loadMBusNetwork(programState().File_M_Bus);
    ASSERT_TRUE(load.ok) << load.message.toStdString();
    ASSERT_EQ(load.nodes.size(), 3u);
    EXPECT_FALSE(load.nodes[1].Var_List[0].Enable);
    EXPECT_EQ(load.nodes[1].Enable, 0);
    EXPECT_TRUE(load.nodes[0].Var_List[0].Enable);
    EXPECT_EQ(load.nodes[2].Enable, 0);
    EXPECT_EQ(modbusRegisters(), (std::vector<int>{1, 3, 5}));
}

TEST_F(ScanDecodeWindow, NotFoundLinesAreRedFromSeventyPixels)
{
    test::FakeUdpGateway gateway;
    open(gateway);
    window->resize(640, 523);
    window->Form_Style(2);
    QListWidget* list = window->LB_AvailableDevice;
    list->addItem(QStringLiteral("ID = 7\t[NOT FOUND]"));
    list->addItem(QStringLiteral("ID = 8\t"));
    window->show();
    QApplication::processEvents();
    const QImage image = list->viewport()->grab().toImage();
    auto count = [&](int row, int fromX, int toX, auto isColour) {
        const QRect r = list->visualItemRect(list->item(row));
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = fromX; x < toX; ++x)
                n += isColour(image.pixelColor(x, y));
        return n;
    };
    auto red = [](const QColor& c) { return c.red() > 150 && c.green() < 100 && c.blue() < 100; };
    auto blue = [](const QColor& c) { return c.blue() > 150 && c.red() < 100 && c.green() < 100; };
    EXPECT_GT(count(0, 0, 70, red), 0);    // the address
    EXPECT_GT(count(0, 70, 160, red), 0);  // the marker from x = 70
    EXPECT_EQ(count(0, 0, 160, blue), 0);
    EXPECT_GT(count(1, 0, 70, blue), 0);
    window->hide();
}

TEST_F(ScanDecodeWindow, AppendingAsksForTheStartRegister)
{
    test::FakeUdpGateway gateway(threeMeters);
    open(gateway);
    scan();
    ASSERT_TRUE(test::writeFile(programState().File_M_Bus, mbusNetworkBytes({})));
    fakes.dialogs.messageAnswers = {mrYes};
    fakes.dialogs.onShowModal = [](QDialog& d) {
        auto& start = dynamic_cast<TFScanModbusStart&>(d);
        start.E_StartModAdd->setText(QStringLiteral("$64"));
        start.Btn_OK->click();
        return TModalResult(start.result());
    };
    window->Btn_SaveConf->click();
    EXPECT_EQ(fakes.dialogs.shownForms, QStringList{QStringLiteral("TFScanModbusStart")});
    EXPECT_EQ(messages(), (QStringList{text(2137), text(2130)}));
    const MBusNetworkLoad load = loadMBusNetwork(programState().File_M_Bus);
    ASSERT_EQ(load.nodes.size(), 3u);
    EXPECT_EQ(modbusRegisters(), (std::vector<int>{100, 102, 104}));

    // Cancel at the question writes nothing.
    const QByteArray before = test::readFile(programState().File_M_Bus);
    fakes.dialogs.messageAnswers = {mrCancel};
    window->Btn_SaveConf->click();
    EXPECT_EQ(test::readFile(programState().File_M_Bus), before);
}

TEST_F(ScanDecodeWindow, PerNodeRegistersOnlyWhenTheirDialogWasConfirmed)
{
    test::FakeUdpGateway gateway(threeMeters);
    open(gateway, 6);  // a code whose per-node save shows no dialog
    scan();
    EXPECT_FALSE(window->Btn_SaveConfManual->isVisibleTo(window.get()));
    window->Select_SaveXML(1);
    EXPECT_TRUE(fakes.dialogs.shownForms.isEmpty());
    EXPECT_EQ(messages(), QStringList{text(2130)});
    EXPECT_EQ(loadMBusNetwork(programState().File_M_Bus).nodes.size(), 3u);

    window->XML_Code_Dev = 0;
    window->Form_Style(3);
    EXPECT_TRUE(window->Btn_SaveConfManual->isVisibleTo(window.get()));
    fakes.dialogs.messageAnswers = {mrNo};
    int rows = 0;
    fakes.dialogs.onShowModal = [&](QDialog& d) {
        auto& perNode = dynamic_cast<TFModbusStartAdd_SD&>(d);
        rows = int(perNode.startRegisters().size());
        perNode.setStartRegister(1, QStringLiteral("200"));
        perNode.Btn_OK->click();
        return TModalResult(perNode.result());
    };
    window->Btn_SaveConfManual->click();
    EXPECT_EQ(rows, 3);
    const std::vector<int> registers = modbusRegisters();
    ASSERT_EQ(registers.size(), 3u);
    EXPECT_GE(registers[0], 200);
    EXPECT_LT(registers[1], 200);
}

TEST_F(ScanDecodeWindow, ClosingDuringAScanLeavesTheGatewayOutOfAnalyzerMode)
{
    test::FakeUdpGateway gateway(threeMeters);
    open(gateway);
    window->Btn_StartScan->click();
    ASSERT_TRUE(pumpUntil([&] { return gateway.received().size() >= 4; }));
    window->done(mrCancel);
    EXPECT_EQ(window->result(), int(mrCancel));
    ASSERT_TRUE(pumpUntil([&] { return !engine->inScan(); }));
    EXPECT_EQ(gateway.received().back(), QByteArray(gateway::kDisableAnalyzerMode));
}

TEST_F(ScanDecodeWindow, AStartRightAfterClosingWaitsForTheAbandonedScan)
{
    test::FakeUdpGateway gateway(threeMeters);
    open(gateway);
    window->Btn_StartScan->click();
    ASSERT_TRUE(pumpUntil([&] { return gateway.received().size() >= 4; }));
    window->done(mrCancel);

    // Reopened at once: the options show, and the new start waits for the old scan's end.
    window->FormShow();
    EXPECT_EQ(window->formStyle(), 1);
    window->E_IP1->setText(QStringLiteral("127"));
    window->E_IP2->setText(QStringLiteral("0"));
    window->E_IP3->setText(QStringLiteral("0"));
    window->E_IP4->setText(QStringLiteral("1"));
    window->Btn_StartScan->click();
    EXPECT_TRUE(messages().isEmpty());
    ASSERT_TRUE(pumpUntil([&] { return window->formStyle() == 3; }));
    EXPECT_EQ(window->VST->RootNodeCount(), 3u);
    // The first scan closed the gateway before the second opened it again.
    const auto sent = gateway.received();
    const QByteArray enable(gateway::kEnableAnalyzerMode);
    const QByteArray disable(gateway::kDisableAnalyzerMode);
    const auto firstDisable = std::find(sent.begin(), sent.end(), disable);
    const auto secondEnable = std::find(std::find(sent.begin(), sent.end(), enable) + 1, sent.end(),
                                        enable);
    ASSERT_NE(firstDisable, sent.end());
    ASSERT_NE(secondEnable, sent.end());
    EXPECT_LT(firstDisable - sent.begin(), secondEnable - sent.begin());
}

TSlave_wMBus wirelessMeter(qint32 address, bool encrypted)
{
    TSlave_wMBus m;
    m.ALA_Manu_str = m.LLA_Manu_str = QStringLiteral("ABC");
    m.ALA_Manufacturer = m.LLA_Manufacturer = 0x0443;
    m.ALA_Address = m.LLA_Address = address;
    m.ALA_DeviceType = m.LLA_DeviceType = 7;
    m.Cripted = encrypted;
    m.RSSI = -60;
    TVariable_MBus r;
    r.ValueStr = QStringLiteral("1");
    m.List_Var = {r, r};
    return m;
}

TEST_F(ScanDecodeWindow, WirelessRowsTurnGreenAfterTheKeyAndTicksReachTheMeters)
{
    test::FakeUdpGateway gateway;
    open(gateway);
    window->Form_Type = 1;
    window->FormShow();
    window->CB_ScanMethod->setCurrentIndex(1);
    window->Form_Style(5);
    window->Show_Wireless_Slave(0, wirelessMeter(0x12345678, true));
    window->Show_Wireless_Slave(1, wirelessMeter(0x00000042, false));
    QTableWidget* table = window->ESG_Wireless;
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 4)->text(), QStringLiteral("12345678"));
    EXPECT_EQ(table->item(0, 3)->text(), QStringLiteral("ABC(0443)"));
    EXPECT_EQ(table->item(0, 1)->background().color(), QColor(255, 187, 185));
    EXPECT_EQ(table->item(1, 1)->background().color(), QColor(168, 255, 168));
    EXPECT_EQ(table->item(0, 0)->background().style(), Qt::NoBrush);

    // A plain meter opens no dialog; an encrypted one opens the key dialog inside the window.
    int asked = 0;
    QPoint dialogAt;
    fakes.dialogs.onShowModal = [&](QDialog& d) {
        ++asked;
        dialogAt = d.pos();
        auto& key = dynamic_cast<TFInsertKeyWireless&>(d);
        key.E_Key->setText(QStringLiteral("000102030405060708090A0B0C0D0E0F"));
        key.Btn_OK->click();
        return TModalResult(key.result());
    };
    std::vector<std::pair<int, AesKey>> keys;
    QObject::connect(window.get(), &TFScanDecode::Insert_Wireless_Key,
                     [&](int i, const AesKey& k) { keys.emplace_back(i, k); });
    window->ESG_WirelessDblClickCell(1, window->mapToGlobal(QPoint(10, 10)));
    EXPECT_EQ(asked, 0);
    window->ESG_WirelessDblClickCell(0, window->mapToGlobal(QPoint(630, 560)));
    ASSERT_EQ(asked, 1);
    EXPECT_LE(dialogAt.x() + 481, window->mapToGlobal(QPoint(window->width(), 0)).x());
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].first, 0);
    EXPECT_EQ(keys[0].second[15], 0x0F);
    // The engine decodes the next telegram with the key: the row turns green.
    window->Show_Wireless_Slave(0, wirelessMeter(0x12345678, false));
    EXPECT_EQ(table->item(0, 1)->background().color(), QColor(168, 255, 168));

    window->Show_Slave_in_Tree_Wireless(1);
    TLazyStringTree* tree = window->VST_Wireless;
    ASSERT_EQ(tree->RootNodeCount(), 1u);
    PLazyNode meter = tree->GetFirstChild(tree->RootNode());
    tree->SetExpanded(meter, true);
    ASSERT_EQ(meter->ChildCount, 2u);
    tree->SetCheckState(tree->GetLastChild(meter), csUncheckedNormal);
    EXPECT_FALSE(window->wirelessSlaves()[1]->List_Var[1].Enable);
    EXPECT_TRUE(window->wirelessSlaves()[1]->List_Var[0].Enable);
    tree->SetCheckState(meter, csUncheckedNormal);
    EXPECT_FALSE(window->wirelessSlaves()[1]->Enable);

    window->Btn_SaveConf->click();
    EXPECT_EQ(messages(), QStringList{text(2130)});
    const MBusNetworkLoad load = loadMBusNetwork(programState().File_M_Bus);
    ASSERT_EQ(load.nodes.size(), 2u);
    EXPECT_EQ(load.nodes[1].MBus_Type, 0);
    EXPECT_EQ(load.nodes[1].Enable, 0);
    EXPECT_FALSE(load.nodes[1].Var_List[1].Enable);
}

// The wireless tree shows the clicked meter alone: its caption, a record it really sent, an
// idle filler and twelve details under each record, boxes that follow Enable; ticks go back to
// Enable and survive the meter's next telegram.
TEST_F(ScanDecodeWindow, WirelessTreeTextsAndTicksWrittenToEnable)
{
    test::FakeUdpGateway gateway;
    open(gateway);
    window->Form_Type = 1;
    window->CB_ScanMethod->setCurrentIndex(1);
    window->Form_Style(5);
    TSlave_wMBus first = wirelessMeter(0x0000ABCD, true);
    first.ALA_Version = 3;
    first.List_Var[1].Real_Wireless_Var = false;
    first.List_Var[1].Enable = false;
    window->Show_Wireless_Slave(0, first);
    window->Show_Wireless_Slave(1, wirelessMeter(0x42, false));

    TLazyStringTree* tree = window->VST_Wireless;
    const auto texts = [&] {
        QStringList l;
        for (PLazyNode n = tree->GetFirst(); n; n = tree->GetNext(n))
            l.append(tree->GetText(n, NoColumn));
        return l;
    };
    window->ESG_Wireless->setCurrentCell(0, 2);
    QTest::mouseClick(
        window->ESG_Wireless->viewport(), Qt::LeftButton, {},
        window->ESG_Wireless->visualRect(window->ESG_Wireless->model()->index(0, 2)).center());
    ASSERT_EQ(tree->RootNodeCount(), 1u);
    QStringList all = texts();
    ASSERT_EQ(all.size(), 1 + 2 * 13);
    EXPECT_EQ(all[0], QStringLiteral("Manufacturer = ABC - Address = 0000ABCD - Version = 3 - "
                                     "Device Type = 7 - CRIPTED!!"));
    EXPECT_TRUE(all[1].startsWith(QStringLiteral("Value = 1 - Type = "))) << all[1].toStdString();
    EXPECT_EQ(all[2], QStringLiteral("Storage Number = 0"));
    EXPECT_EQ(all[14], QStringLiteral("Idle Filler"));
    PLazyNode meter = tree->GetFirstChild(tree->RootNode());
    PLazyNode real = tree->GetFirstChild(meter);
    PLazyNode filler = tree->GetNextSibling(real);
    EXPECT_EQ(tree->CheckState(real), csCheckedNormal);
    EXPECT_EQ(tree->CheckState(filler), csUncheckedNormal);
    EXPECT_EQ(tree->GetFirstChild(real)->CheckType, ctNone);

    // A tick writes Enable; unticking the meter unticks its records with it.
    tree->SetCheckState(filler, csCheckedNormal);
    EXPECT_TRUE(window->wirelessSlaves()[0]->List_Var[1].Enable);
    tree->SetCheckState(meter, csUncheckedNormal);
    EXPECT_FALSE(window->wirelessSlaves()[0]->Enable);
    EXPECT_FALSE(window->wirelessSlaves()[0]->List_Var[0].Enable);
    EXPECT_FALSE(window->wirelessSlaves()[0]->List_Var[1].Enable);
    // One record ticked again leaves the meter mixed, which is no Enable state.
    tree->SetCheckState(real, csCheckedNormal);
    EXPECT_EQ(tree->CheckState(meter), csMixedNormal);
    EXPECT_FALSE(window->wirelessSlaves()[0]->Enable);
    EXPECT_TRUE(window->wirelessSlaves()[0]->List_Var[0].Enable);

    // The meter's next telegram redraws the tree with the user's ticks, not the engine's.
    window->Show_Wireless_Slave(0, first);
    all = texts();
    ASSERT_EQ(all.size(), 27);
    meter = tree->GetFirstChild(tree->RootNode());
    EXPECT_EQ(tree->CheckState(meter), csUncheckedNormal);
    EXPECT_EQ(tree->CheckState(tree->GetFirstChild(meter)), csCheckedNormal);
    EXPECT_EQ(tree->CheckState(tree->GetLastChild(meter)), csUncheckedNormal);

    // Another row shows its own meter, plain and ticked.
    window->Show_Slave_in_Tree_Wireless(1);
    EXPECT_EQ(texts().value(0), QStringLiteral("Manufacturer = ABC - Address = 00000042 - "
                                               "Version = 0 - Device Type = 7 - "));
    EXPECT_EQ(tree->CheckState(tree->GetFirstChild(tree->RootNode())), csCheckedNormal);
    window->NewScan();
    EXPECT_EQ(tree->RootNodeCount(), 0u);
}

TEST_F(ScanDecodeWindow, AWirelessMeterTurnsFromRedToGreenAfterItsKeyIsEntered)
{
    test::FakeUdpGateway gateway(std::make_unique<test::FakeRadioGateway>(TRadioModule::rmTelit));
    open(gateway);
    window->Form_Type = 1;
    window->CB_ScanMethod->setCurrentIndex(1);
    window->E_Port->setText(QString::number(gateway.port()));
    const auto sentCount = [&](const QByteArray& text) {
        const auto all = gateway.received();
        return std::count(all.begin(), all.end(), text);
    };

    window->Btn_StartScan->click();
    ASSERT_EQ(window->formStyle(), 4) << messages().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(window->P_View_Wireless->isVisibleTo(window.get()));
    ASSERT_TRUE(pumpUntil([&] { return sentCount("ATO\r") == 1; }));

    const AesKey key = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    MBusAes aes;
    const QByteArray secret = test::encryptedRadioTelegram(0x12345678, TRadioModule::rmTelit, key,
                                                           0x42, 999, aes);
    QTableWidget* table = window->ESG_Wireless;
    const auto rowColour = [&] {
        const QTableWidgetItem* item = table->item(0, 1);
        return item ? item->background().color() : QColor();
    };
    ASSERT_TRUE(gateway.push(secret));
    ASSERT_TRUE(pumpUntil([&] { return rowColour() == QColor(255, 187, 185); }));
    EXPECT_EQ(table->item(0, 8)->text(), QStringLiteral("12345678"));
    EXPECT_EQ(table->item(0, 12)->data(Qt::UserRole).toInt(), 0);

    fakes.dialogs.onShowModal = [&](QDialog& d) {
        auto& dialog = dynamic_cast<TFInsertKeyWireless&>(d);
        dialog.E_Key->setText(QStringLiteral("000102030405060708090A0B0C0D0E0F"));
        dialog.Btn_OK->click();
        return TModalResult(dialog.result());
    };
    int keysHanded = 0;
    QObject::connect(window.get(), &TFScanDecode::Insert_Wireless_Key,
                     [&](int i, const AesKey& k) { keysHanded += i == 0 && k == key; });
    window->ESG_WirelessDblClickCell(0, window->mapToGlobal(QPoint(20, 20)));
    ASSERT_EQ(keysHanded, 1);
    // The engine loads the key into the module and puts it back to receiving.
    ASSERT_TRUE(pumpUntil([&] { return sentCount("ATO\r") == 2; }));

    ASSERT_TRUE(gateway.push(secret));
    ASSERT_TRUE(pumpUntil([&] { return rowColour() == QColor(168, 255, 168); }));
    EXPECT_EQ(table->rowCount(), 1) << "the same meter keeps its row";
    EXPECT_EQ(table->item(0, 12)->data(Qt::UserRole).toInt(), 1);
    ASSERT_EQ(window->wirelessSlaves().size(), 1u);
    EXPECT_FALSE(window->wirelessSlaves()[0]->Cripted);

    window->Btn_StopScan->click();
    ASSERT_TRUE(pumpUntil([&] { return window->formStyle() == 5; }));
    EXPECT_TRUE(window->Btn_SaveConf->isVisibleTo(window.get()));
    EXPECT_EQ(gateway.received().back(), QByteArray(gateway::kDisableConfigurationMode));
    EXPECT_TRUE(messages().isEmpty()) << messages().join(QLatin1Char('|')).toStdString();
}

TEST_F(ScanDecodeWindow, OptionsLayoutByFormTypeAndAddressFromParGen)
{
    ASSERT_TRUE(test::writeFile(programState().File_ParGen,
                                "<ParGen><Eth_IP1>127</Eth_IP1><Eth_IP2>0</Eth_IP2>"
                                "<Eth_IP4>9</Eth_IP4></ParGen>"));
    test::FakeUdpGateway gateway;
    open(gateway, 10);
    window->FormShow();  // reads the file again over the test's address
    EXPECT_EQ(window->E_IP1->text(), QStringLiteral("127"));
    EXPECT_EQ(window->E_IP3->text(), QStringLiteral("0"));  // missing: left as it was
    EXPECT_EQ(window->E_IP4->text(), QStringLiteral("9"));
    QWidget* w = window.get();
    EXPECT_EQ(window->height(), 523);
    EXPECT_FALSE(window->CB_ScanMethod->isVisibleTo(w));
    EXPECT_FALSE(window->CB_HardwareType->isEnabled());
    EXPECT_FALSE(window->E_Port->isVisibleTo(w));

    window->Form_Type = 1;
    window->FormShow();
    EXPECT_EQ(window->height(), 571);
    EXPECT_TRUE(window->CB_ScanMethod->isVisibleTo(w));
    EXPECT_EQ(window->CB_ScanBy->y() - window->CB_ScanMethod->y(), 28);
    window->CB_ScanMethod->setCurrentIndex(1);
    EXPECT_FALSE(window->CB_ScanBy->isVisibleTo(w));
    EXPECT_TRUE(window->E_Port->isVisibleTo(w));
    EXPECT_TRUE(window->CB_wMBus_Mode->isVisibleTo(w));
    EXPECT_FALSE(window->CB_MBus_Baud->isVisibleTo(w));
    EXPECT_FALSE(window->CB_Opt_SND_NKE->isVisibleTo(w));
    window->E_Port->setText(QStringLiteral("abc"));
    window->Btn_StartScan->click();
    EXPECT_EQ(messages().value(0), text(2138));
}

TEST_F(ScanDecodeWindow, DotMovesToTheNextAddressFieldAndIsNeverTyped)
{
    test::FakeUdpGateway gateway;
    open(gateway);
    window->show();
    window->E_IP1->clear();
    window->E_IP1->setFocus();
    QTest::keyClicks(window->E_IP1, QStringLiteral("10."));
    EXPECT_EQ(window->E_IP1->text(), QStringLiteral("10"));
    EXPECT_EQ(window->focusWidget(), window->E_IP2);
    QTest::keyClicks(window->E_IP4, QStringLiteral("5."));
    EXPECT_EQ(window->E_IP4->text(), QStringLiteral("15"));
    window->hide();
}

TEST(ScanDecodeCode, ATextThatIsNoNumberGivesCodeZero)
{
    EXPECT_EQ(TFScanDecode::deviceCodeOf(QString()), 0);
    EXPECT_EQ(TFScanDecode::deviceCodeOf(QStringLiteral("x?")), 0);
    EXPECT_EQ(TFScanDecode::deviceCodeOf(QStringLiteral("15")), 15);
}

}  // namespace
}  // namespace zfw
