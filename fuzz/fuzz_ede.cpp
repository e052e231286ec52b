// BACnet EDE files: any bytes read as another device's EDE file and imported into the
// client's rule tables; the same bytes as the server objects file, exported as the gateway's
// EDE file and read back by the import's reader.

#include "FuzzSupport.h"

#include "editors/building/core/BACnetClientRules.h"
#include "editors/building/core/BACnetEde.h"

#include <QDateTime>

namespace {

void readAndImport(const QByteArray& bytes)
{
    const zfw::EdeReadResult read = zfw::readEdeObjects(bytes);
    ZFW_FUZZ_CHECK(read.objects.size() <= zfw::kEdeMaxObjects);
    ZFW_FUZZ_CHECK(!read.tooShort || read.objects.isEmpty());
    int reads = 0, writes = 0;
    for (const zfw::TBACnet_Var& v : read.objects) {
        ZFW_FUZZ_CHECK(zfw::isRetainedEdeType(v.object_type));
        ZFW_FUZZ_CHECK(v.import && v.read && v.write == v.commandable);
        ++reads;
        writes += v.write;
    }
    zfw::RuleFile rules(zfw::bacnetClientRuleSpec());
    const zfw::EdeImportResult imported = zfw::importEdeObjects(rules.tables[0], rules.tables[1],
                                                                read.objects, "10.0.0.1");
    if (imported.faultText) {
        // Nothing is changed when the rules do not fit.
        ZFW_FUZZ_CHECK(reads > zfw::kBACnetClientRules || writes > zfw::kBACnetClientRules);
        ZFW_FUZZ_CHECK(rules.tables[0].ruleCount() == 0 && rules.tables[1].ruleCount() == 0);
        return;
    }
    ZFW_FUZZ_CHECK(rules.tables[0].ruleCount() == reads);
    ZFW_FUZZ_CHECK(rules.tables[1].ruleCount() == writes);
}

void exportAndReadBack(const QByteArray& bytes)
{
    const QString dir = zfw::fuzz::scratchDir("ede");
    const QString objects = dir + QStringLiteral("/BACnet_Slave_SetAccess.xml");
    ZFW_FUZZ_CHECK(zfw::fuzz::writeBytes(objects, bytes));
    const zfw::EdeExport e = zfw::buildEdeFile(dir + QStringLiteral("/none.xml"), objects,
                                               QStringLiteral("Plant"),
                                               QDateTime(QDate(2025, 2, 4), QTime(9, 5, 3)));
    if (!e.ok) {
        ZFW_FUZZ_CHECK(!e.message.isEmpty() && e.bytes.isEmpty());
        return;
    }
    ZFW_FUZZ_CHECK(e.bytes.endsWith("\r\n"));
    // Every object is one line the import's reader splits back into the same fields.
    const zfw::EdeReadResult back = zfw::readEdeObjects(e.bytes);
    ZFW_FUZZ_CHECK(back.firstObjectLine == 8);
    qsizetype retained = 0;
    for (const zfw::TBACnet_EDE_Obj& o : e.objects) {
        const zfw::TBACnet_Var v = zfw::parseEdeLine(
            QStringList{o.Keyname, o.DevObjInstance, o.ObjectName, o.ObjectType, o.ObjectInstance,
                        o.Description, o.UnitCode}
                .join(QLatin1Char(';'))
            + QLatin1Char(';'));
        ZFW_FUZZ_CHECK(v.object_type == o.ObjectType.toInt());
        ZFW_FUZZ_CHECK(v.object_instance == o.ObjectInstance.toInt());
        retained += zfw::isRetainedEdeType(v.object_type);
    }
    ZFW_FUZZ_CHECK(back.objects.size() == qMin(retained, qsizetype(zfw::kEdeMaxObjects)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = zfw::fuzz::bytesOf(data, size);
    readAndImport(bytes);
    exportAndReadBack(bytes);
    return 0;
}
