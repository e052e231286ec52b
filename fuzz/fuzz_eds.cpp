// The CANopen EDS writer on any project files: the first byte says which files exist (bit 0
// PDO_CANopen.xml, bit 1 SDO_Server_CANopen.xml; the digits 0 to 3 read the same), the rest
// holds the existing files in that order, separated by a line "----". A written file is ASCII
// with CR LF after every line, the same for the same input; a refused one is empty and says
// which file refused it.

#include "FuzzSupport.h"

#include "common/UComon.h"
#include "editors/fieldbus/core/UEDSWriter.h"

#include <QDateTime>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int present = (data[0] >= '0' && data[0] <= '9' ? data[0] - '0' : data[0]) & 3;
    const QList<QByteArray> parts = zfw::fuzz::bytesOf(data + 1, size - 1).split('\n');
    QByteArray files[2];
    int at = 0;
    for (const QByteArray& line : parts) {
        if (line == "----" || line == "----\r") {
            at = qMin(at + 1, 1);
            continue;
        }
        files[at] += line + '\n';
    }
    const QString pdoName = QStringLiteral("PDO_CANopen.xml");
    const QString sdoName = QStringLiteral("SDO_Server_CANopen.xml");
    const zfw::ProjectXmlLoad pdo = present & 1 ? zfw::parseProjectXml(files[0], pdoName)
                                                : zfw::ProjectXmlLoad{};
    const zfw::ProjectXmlLoad sdo = present & 2 ? zfw::parseProjectXml(files[1], sdoName)
                                                : zfw::ProjectXmlLoad{};
    static const zfw::ProgramState lang;
    const QDateTime clock(QDate(2026, 1, 2), QTime(12, 30));
    const zfw::EdsResult r = zfw::buildEdsFile(pdo, sdo, clock, lang);
    if (!r.ok()) {
        ZFW_FUZZ_CHECK(r.bytes.isEmpty());
        ZFW_FUZZ_CHECK(r.fault.file == pdoName || r.fault.file == sdoName);
        return 0;
    }
    ZFW_FUZZ_CHECK(r.bytes.endsWith("\r\n"));
    for (qsizetype i = 0; i < r.bytes.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(r.bytes[i]);
        ZFW_FUZZ_CHECK(ch < 0x80);
        if (ch == '\n')
            ZFW_FUZZ_CHECK(i > 0 && r.bytes[i - 1] == '\r');
        if (ch == '\r')
            ZFW_FUZZ_CHECK(i + 1 < r.bytes.size() && r.bytes[i + 1] == '\n');
    }
    ZFW_FUZZ_CHECK(zfw::buildEdsFile(pdo, sdo, clock, lang).bytes == r.bytes);
    return 0;
}
