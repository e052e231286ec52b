#pragma once
// The server-side variable windows (IEC 61850, MQTT, OPC UA) on the same fresh program state
// as the SNMP windows, with their own project files in the temporary folder.

#include "SnmpWindowFixture.h"

namespace zfw::test {

class ServerWindowTest : public SnmpWindowTest {
protected:
    void SetUp() override
    {
        SnmpWindowTest::SetUp();
        ProgramState& s = programState();
        s.File_IEC61850_Variables = path(QStringLiteral("IEC61850_Variables.xml"));
        s.File_MQTT_Set_Topic = path(QStringLiteral("MQTT_Set_Topic.xml"));
        s.File_OPC_UA_Server = path(QStringLiteral("OPC_UA_Server.xml"));
    }
    // A button of the window's own button band: a sub-window the editor owns has buttons of
    // the same names.
    static void click(TRuleEditorFrame& f, const char* name)
    {
        ASSERT_NE(f.P_Button, nullptr);
        auto* b = f.P_Button->findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static QByteArray golden(const char* relative)
    {
        return readFile(QStringLiteral(ZFW_TEST_DATA_DIR "/") + QLatin1String(relative));
    }
    // Renders the window offscreen into a PNG beside the test run, for a look by eye.
    static void render(QWidget& w, const char* name)
    {
        w.grab().save(QStringLiteral("%1.png").arg(QLatin1String(name)));
    }
};

}  // namespace zfw::test
