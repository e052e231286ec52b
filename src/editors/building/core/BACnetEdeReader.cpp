// Reading another device's EDE file, and turning its chosen objects into client rules.

#include "editors/building/core/BACnetClientRules.h"
#include "editors/building/core/BACnetEde.h"

#include "common/TextUtil.h"

#include <QFile>
#include <QStringDecoder>

#include <array>

namespace zfw {

namespace F = bacnetfile;

namespace {

constexpr int kEdeFields = 16;
constexpr int kMandatoryLine = 7;  // 1-based: where the layout puts the announcing line

constexpr int kTextReadRowsDoNotFit = 1423;
constexpr int kTextWriteRowsDoNotFit = 1424;

struct EdeType {
    int type;
    const char* objectType;
    const char* dataType;
    int numByte;
};

constexpr EdeType kEdeTypes[] = {
    {0, "Analog Input", "Real", 4},
    {1, "Analog Output", "Real", 4},
    {2, "Analog Value", "Real", 4},
    {3, "Binary Input", "Enumerated", 1},
    {4, "Binary Output", "Enumerated", 1},
    {5, "Binary Value", "Enumerated", 1},
    {13, "Multi-State Input", "Unsigned Int", 4},
    {14, "Multi-State Output", "Unsigned Int", 4},
    {19, "Multi-State Value", "Unsigned Int", 4},
    {21, "Life Safety Point", "Enumerated", 2},
    {22, "Life Safety Zone", "Enumerated", 2},
    {23, "Accumulator", "Unsigned Int", 4},
    {45, "Integer Value", "Signed Int", 4},
    {46, "Large Analog Value", "Double", 8},
    {48, "Positive Integer Value", "Unsigned Int", 4},
};

const EdeType* edeType(int type)
{
    for (const EdeType& t : kEdeTypes)
        if (t.type == type)
            return &t;
    return nullptr;
}

// "#" then, after blanks, "mandatory" in exactly that case.
bool announcesObjects(const QString& line)
{
    const QString t = trimBlanks(line);
    if (!t.startsWith(QLatin1Char('#')))
        return false;
    return trimBlanks(QStringView(t).mid(1)).startsWith(QLatin1String("mandatory"));
}

// Blanks and control characters off both ends, as trimBlanks, without a copy.
QStringView trimmedView(QStringView s)
{
    while (!s.isEmpty() && s.front().unicode() <= u' ')
        s = s.mid(1);
    while (!s.isEmpty() && s.back().unicode() <= u' ')
        s.chop(1);
    return s;
}

int intField(const QString& text) { return parseIntText(text).value_or(-1); }

bool yesField(const QString& text) { return asciiUpper(trimBlanks(text)) == QLatin1String("Y"); }

}  // namespace

QString decodeEdeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        // An odd last byte becomes a replacement character; the lines before it stay.
        QStringDecoder dec(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                        : QStringDecoder::Utf16BE);
        return dec.decode(bytes.mid(2));
    }
    return decodeWindows1252(bytes);
}

QStringList edeLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

TBACnet_Var parseEdeLine(const QString& line)
{
    // Each field is read from a remaining text, dropped up to and including its ";" as the
    // walk goes on; a field is read only when a ";" follows it, except the last, which takes
    // the rest of the line.
    std::array<QString, kEdeFields> f;
    QStringView rest(line);
    auto before = [](QStringView s) {
        const qsizetype semi = s.indexOf(QLatin1Char(';'));
        return semi < 0 ? QString() : trimBlanks(s.left(semi));
    };
    auto drop = [](QStringView s) {
        const qsizetype semi = s.indexOf(QLatin1Char(';'));
        const QStringView left = semi < 0 ? s : s.mid(semi + 1);
        return trimmedView(left);
    };
    f[0] = before(rest);
    for (int i = 1; i < kEdeFields - 1; ++i) {
        rest = drop(rest);
        f[std::size_t(i)] = before(rest);
    }
    rest = drop(rest);
    QString last = trimBlanks(rest);
    if (last.endsWith(QLatin1Char(';')))
        last.chop(1);
    f[kEdeFields - 1] = trimBlanks(last);

    TBACnet_Var v;
    v.keyname = f[0];
    v.device_obj_instance = intField(f[1]);
    v.object_name = f[2];
    v.object_type = intField(f[3]);
    v.object_instance = intField(f[4]);
    v.description = f[5];
    v.present_value_default = f[6];
    v.min_present_value = f[7];
    v.max_present_value = f[8];
    v.commandable = yesField(f[9]);
    v.support_COV = yesField(f[10]);
    v.hi_limit = f[11];
    v.low_limit = f[12];
    v.stete_text_reference = f[13];
    v.unit_code = f[14];
    v.vendor_specific_address = f[15];
    v.import = true;
    v.read = true;
    v.write = v.commandable;
    return v;
}

bool isRetainedEdeType(int objectType) { return edeType(objectType) != nullptr; }

EdeReadResult readEdeObjects(const QByteArray& bytes)
{
    EdeReadResult result;
    const QStringList lines = edeLines(decodeEdeText(bytes));
    result.lineCount = int(lines.size());
    // Mended: a file of fewer than seven lines was looked at past its end. Nothing can be
    // read from it, and the user is told so.
    if (lines.size() < kMandatoryLine) {
        result.tooShort = true;
        return result;
    }
    int announce = -1;  // 0-based
    if (announcesObjects(lines[kMandatoryLine - 1])) {
        announce = kMandatoryLine - 1;
    } else {
        for (int i = 0; i < int(lines.size()); ++i)
            if (announcesObjects(lines[i]))
                announce = i;
    }
    if (announce < 0)
        return result;
    result.firstObjectLine = announce + 3;
    for (qsizetype i = announce + 2; i < lines.size(); ++i) {
        if (trimBlanks(lines[i]).isEmpty())
            continue;
        TBACnet_Var v = parseEdeLine(trimBlanks(lines[i]));
        if (!isRetainedEdeType(v.object_type))
            continue;
        if (result.objects.size() >= kEdeMaxObjects) {
            ++result.objectsLeftOut;
            continue;
        }
        result.objects.append(std::move(v));
    }
    return result;
}

EdeFileBytes readEdeFile(const QString& path)
{
    EdeFileBytes out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        out.error = QStringLiteral("%1: %2").arg(displayPath(path), f.errorString());
        return out;
    }
    out.bytes = f.read(kEdeMaxFileBytes + 1);
    if (out.bytes.size() > kEdeMaxFileBytes) {
        out.bytes.clear();
        out.error = QStringLiteral("%1: larger than %2 MB")
                        .arg(displayPath(path))
                        .arg(kEdeMaxFileBytes / (1024 * 1024));
    }
    return out;
}

QString Get_ObjType_EDE(int val)
{
    const EdeType* t = edeType(val);
    return t ? QString::fromLatin1(t->objectType) : QString();
}

QString Get_DataType_EDE(int val)
{
    const EdeType* t = edeType(val);
    return QString::fromLatin1(t ? t->dataType : "Null");
}

int Get_NumByte_EDE(int val)
{
    const EdeType* t = edeType(val);
    return t ? t->numByte : 4;
}

namespace {

// First row whose key cell is blank; 0 when every row holds a rule.
int firstFreeRow(const RuleTable& t)
{
    const int key = t.spec().keyColumn;
    for (int r = 1; r < t.rowCount(); ++r)
        if (trimBlanks(t.cell(key, r)).isEmpty())
            return r;
    return 0;
}

// The largest end (Position + NByte) of the rules already in the table; 0 when none.
int firstPosition(const RuleTable& t)
{
    const int key = t.spec().keyColumn;
    int next = 0;
    for (int r = 1; r < t.rowCount(); ++r) {
        if (trimBlanks(t.cell(key, r)).isEmpty())
            continue;
        const int position = strToIntDef(t.text(QString::fromLatin1(F::Position), r), -1);
        const int numByte = strToIntDef(t.text(QString::fromLatin1(F::NumByte), r), -1);
        if (position >= 0 && numByte >= 0)
            next = qMax(next, position + numByte);
    }
    return next;
}

void fillRead(RuleTable& t, int r, const TBACnet_Var& v, const QString& device, int position)
{
    auto set = [&](const char* attribute, const QString& text) {
        t.setCell(t.spec().col(QString::fromLatin1(attribute)), r, text);
    };
    const QString Y = QStringLiteral("Y"), N = QStringLiteral("N");
    set(F::Enable, Y);
    set(F::Device, device);
    set(F::Object_Type, Get_ObjType_EDE(v.object_type));
    set(F::Instance, QString::number(v.object_instance));
    set(F::Property, QStringLiteral("Present Value (85)"));
    set(F::NumByte, QString::number(Get_NumByte_EDE(v.object_type)));
    set(F::Enable_Destination, N);
    set(F::Destination_Network, {});
    set(F::Destination_Length, {});
    set(F::Destination_Address, {});
    set(F::PollTime, QStringLiteral("1000"));
    set(F::MaxError, QStringLiteral("0"));
    set(F::Position, QString::number(position));
    set(F::StartBit, QStringLiteral("0"));
    set(F::Swap, N);
    set(F::Convertion, {});
    set(F::Mnemonic, v.object_name + QLatin1String(" - ") + v.description);
}

void fillWrite(RuleTable& t, int r, const TBACnet_Var& v, const QString& device, int position)
{
    auto set = [&](const char* attribute, const QString& text) {
        t.setCell(t.spec().col(QString::fromLatin1(attribute)), r, text);
    };
    const QString Y = QStringLiteral("Y"), N = QStringLiteral("N");
    set(F::Enable, Y);
    set(F::Device, device);
    set(F::Object_Type, Get_ObjType_EDE(v.object_type));
    set(F::Data_Type, Get_DataType_EDE(v.object_type));
    set(F::Instance, QString::number(v.object_instance));
    set(F::Property, QStringLiteral("Present Value (85)"));
    set(F::Priority, QStringLiteral("0"));
    set(F::NumByte, QString::number(Get_NumByte_EDE(v.object_type)));
    set(F::Enable_Destination, N);
    set(F::Destination_Network, {});
    set(F::Destination_Length, {});
    set(F::Destination_Address, {});
    set(F::OnChange, N);
    set(F::OnTimer, N);
    set(F::PollTime, QStringLiteral("1000"));
    set(F::MaxError, QStringLiteral("0"));
    set(F::Position, QString::number(position));
    set(F::StartBit, QStringLiteral("0"));
    set(F::Swap, N);
    set(F::Convertion, {});
    set(F::Mnemonic, v.object_name + QLatin1String(" - ") + v.description);
}

}  // namespace

// Mended: a table without a free row, or with fewer free rows below its first free one than
// objects chosen, had its rules written past its end or cut short without a word; the import
// now refuses before it changes either table. With the device column hidden, the free row
// is sought in the key column, so that imported rules join the rule list that is saved.
EdeImportResult importEdeObjects(RuleTable& read, RuleTable& write,
                                 const QList<TBACnet_Var>& objects, const QString& device)
{
    EdeImportResult result;
    int reads = 0, writes = 0;
    for (const TBACnet_Var& v : objects) {
        reads += v.import && v.read;
        writes += v.import && v.write;
    }
    const int readRow = firstFreeRow(read);
    const int writeRow = firstFreeRow(write);
    if (reads > 0 && (readRow == 0 || readRow + reads > read.rowCount())) {
        result.faultText = kTextReadRowsDoNotFit;
        return result;
    }
    if (writes > 0 && (writeRow == 0 || writeRow + writes > write.rowCount())) {
        result.faultText = kTextWriteRowsDoNotFit;
        return result;
    }
    int readPosition = firstPosition(read);
    int writePosition = firstPosition(write);
    int nextRead = readRow, nextWrite = writeRow;
    for (const TBACnet_Var& v : objects) {
        if (!v.import)
            continue;
        const int numByte = Get_NumByte_EDE(v.object_type);
        if (v.read) {
            fillRead(read, nextRead++, v, device, readPosition);
            readPosition += numByte;
        }
        if (v.write) {
            fillWrite(write, nextWrite++, v, device, writePosition);
            writePosition += numByte;
        }
    }
    result.readRows = reads;
    result.writeRows = writes;
    result.firstReadRow = reads ? readRow : 0;
    result.firstWriteRow = writes ? writeRow : 0;
    return result;
}

}  // namespace zfw
