#include "editors/building/core/UEDSConnections.h"

#include "common/TextUtil.h"
#include "editors/building/core/UEDSText.h"

namespace zfw {

void Split_EDS_Fields(QStringView text, QStringList& fields)
{
    bool quoted = false;
    QString current;
    for (QChar c : text) {
        if (!quoted && (c == u',' || c == u';')) {
            fields.append(current);
            current.clear();
        } else {
            if (c == u'"')
                quoted = !quoted;
            current.append(c);
        }
    }
    if (!current.isEmpty())
        fields.append(current);
}

std::optional<qint64> GetDeviceValue(QStringView str, QStringView key)
{
    // EDS allows any white space before "="; a key followed by another letter is another key.
    qsizetype from = 0;
    while (true) {
        const qsizetype at = str.indexOf(key, from);
        if (at < 0)
            return std::nullopt;
        qsizetype i = at + key.size();
        while (i < str.size() && (str[i] == u' ' || str[i] == u'\t'))
            ++i;
        if (i < str.size() && str[i] == u'=') {
            const QString value = trimBlanks(str.mid(i + 1));
            const qsizetype semi = value.indexOf(u';');
            if (semi < 0)
                return 0;
            return parseEdsInt64(trimBlanks(QStringView(value).left(semi))).value_or(0);
        }
        from = at + 1;
    }
}

namespace {

bool isInstanceType(std::uint8_t b) { return b >= 0x24 && b <= 0x26; }
bool isConnPointType(std::uint8_t b) { return b >= 0x2C && b <= 0x2E; }

// The value of an 8, 16 or 32-bit logical segment whose type byte is at index; index ends on
// the value's last byte. 16-bit values start on an even and 32-bit ones on a multiple-of-4
// position of the path. Nothing when the value runs past the path.
std::optional<std::uint32_t> segmentValue(const QList<std::uint8_t>& p, qsizetype& index, int width)
{
    qsizetype at = index + 1;
    if (width == 2 && at % 2 != 0)
        ++at;
    if (width == 4)
        at = (at + 3) / 4 * 4;
    if (at + width > p.size())
        return std::nullopt;
    std::uint32_t v = 0;
    for (int k = width - 1; k >= 0; --k)
        v = (v << 8) | p[at + k];
    index = at + width - 1;
    return v;
}

int widthOf(std::uint8_t type) { return type & 0x03 ? (type & 0x03) * 2 : 1; }

// Moves index forward to the next byte accepted by wanted; false when none stands before the
// path's last byte (a segment type needs at least one byte after it).
template <class Pred>
bool seek(const QList<std::uint8_t>& p, qsizetype& index, Pred wanted)
{
    for (++index; index < p.size(); ++index)
        if (wanted(p[index]))
            return index + 1 < p.size();
    return false;
}

}  // namespace

std::optional<ConnPathValues> decodeConnPath(const QList<std::uint8_t>& p)
{
    if (p.size() < 6)
        return std::nullopt;
    qsizetype index;
    switch (p[0]) {
    case 0x20: index = 2; break;
    case 0x21: index = 4; break;
    case 0x22: index = 8; break;
    default: return std::nullopt;
    }
    ConnPathValues v;
    if (index < p.size() && isInstanceType(p[index])) {
        const auto inst = segmentValue(p, index, widthOf(p[index]));
        if (!inst)
            return std::nullopt;
        v.InstanceOT = v.InstanceTO = *inst;
    } else {
        // No instance segment: instance 1, and the search starts at the path's third byte.
        v.InstanceOT = v.InstanceTO = 1;
        index = 1;
    }
    if (!seek(p, index, isConnPointType))
        return std::nullopt;
    const auto ot = segmentValue(p, index, widthOf(p[index]));
    if (!ot)
        return std::nullopt;
    v.ConnPointOT = *ot;
    if (!seek(p, index, [](std::uint8_t b) { return isInstanceType(b) || isConnPointType(b); }))
        return std::nullopt;
    if (isInstanceType(p[index])) {
        const auto inst = segmentValue(p, index, widthOf(p[index]));
        if (!inst)
            return std::nullopt;
        v.InstanceTO = *inst;
        if (!seek(p, index, isConnPointType))
            return std::nullopt;
    }
    const auto to = segmentValue(p, index, widthOf(p[index]));
    if (!to)
        return std::nullopt;
    v.ConnPointTO = *to;
    return v;
}

std::optional<TConnData> DecodeConnStr(QStringView ConnStr)
{
    QStringList f;
    Split_EDS_Fields(ConnStr, f);
    if (f.size() < 15)
        return std::nullopt;
    TConnData c;
    const qint64 params = parseEdsInt64(trimBlanks(f[1])).value_or(-1);
    c.DimHeaderOT = std::uint8_t((params >> 8) & 7);
    c.DimHeaderTO = std::uint8_t((params >> 12) & 7);
    c.NumClass = 0;
    c.TargetConfSize = trimBlanks(f[10]);
    c.TargetConfFormat = trimBlanks(f[11]);
    c.ConnName = trimBlanks(f[12]);
    c.HelpStr = trimBlanks(f[13]);

    QString pathText = trimBlanks(f[14]);
    pathText.remove(u'"');
    pathText = trimBlanks(pathText);
    QList<std::uint8_t> path;
    for (QStringView piece : QStringView(pathText).split(u' ', Qt::SkipEmptyParts)) {
        const QString t = trimBlanks(piece);
        if (t.isEmpty() || t.startsWith(u'-') || t.startsWith(u'+'))
            continue;
        const auto b = parseEdsInt64(QStringView(QStringLiteral("0x") + t));
        if (!b || *b < 0 || *b > 255)
            continue;  // a parameter reference or the like
        // A path longer than the buffer would be decoded from a part of itself: refuse it.
        if (path.size() == kEdsPathCapacity)
            return std::nullopt;
        path.append(std::uint8_t(*b));
    }
    const auto v = decodeConnPath(path);
    if (!v)
        return std::nullopt;
    c.InstanceOT = v->InstanceOT;
    c.InstanceTO = v->InstanceTO;
    c.ConnPointOT = v->ConnPointOT;
    c.ConnPointTO = v->ConnPointTO;
    return c;
}

EdsConnections decodeEdsConnections(const QStringList& rawLines)
{
    EdsConnections out;
    bool inDevice = false;
    bool inConn = false;
    QString entry;
    auto flush = [&] {
        if (entry.isEmpty())
            return;
        if (auto c = DecodeConnStr(entry)) {
            c->ConnIndex = int(out.List_Conn.size()) + 1;
            out.List_Conn.append(*c);
        }
        entry.clear();
    };
    static const struct {
        const char16_t* key;
        int which;
    } kKeys[] = {
        {u"VENDCODE", 0}, {u"PRODTYPE", 1}, {u"PRODCODE", 2}, {u"MAJREV", 3}, {u"MINREV", 4}};

    for (const QString& raw : rawLines) {
        QString line = prepareEdsLine(raw);
        if (line.isEmpty())
            continue;
        if (!inDevice) {
            if (line.contains(QLatin1String("[Device]")))
                inDevice = true;
        } else if (line.startsWith(u'[')) {
            inDevice = false;
        } else {
            line = asciiUpper(line);
            for (const auto& k : kKeys) {
                const auto v = GetDeviceValue(line, QStringView(k.key));
                if (!v)
                    continue;
                EdsDeviceIdentity& id = out.identity;
                switch (k.which) {
                case 0: id.VendCode = std::uint16_t(*v); break;
                case 1: id.ProdType = std::uint16_t(*v); break;
                case 2: id.ProdCode = std::uint16_t(*v); break;
                case 3: id.MajRev = std::uint8_t(*v); break;
                default: id.MinRev = std::uint8_t(*v); break;
                }
                break;
            }
        }

        if (!inConn) {
            if (line.contains(QLatin1String("[Connection Manager]")))
                inConn = true;
        } else if (line.startsWith(u'[')) {
            inConn = false;
            flush();
        } else if (line.startsWith(QLatin1String("Connection"))) {
            flush();
            const qsizetype eq = line.indexOf(u'=');
            entry = eq < 0 ? QString() : trimBlanks(QStringView(line).mid(eq + 1));
        } else if (!line.contains(u'=')) {
            entry.append(line);
        }
    }
    flush();
    return out;
}

QString dimHeaderOTText(std::uint8_t code)
{
    return code == 4 ? QStringLiteral("Default") : QString::number(code);
}

QString dimHeaderTOText(std::uint8_t code)
{
    return code == 0 ? QStringLiteral("Default") : QString::number(code);
}

QString electronicKeyText(const EdsDeviceIdentity& id)
{
    // A major revision of 128 or more would give a three-digit byte: only its low 7 bits
    // belong to the revision, the top bit is the key's compatibility flag.
    const unsigned bytes[8] = {
        unsigned(id.VendCode & 0xFF),        unsigned(id.VendCode >> 8),
        unsigned(id.ProdType & 0xFF),        unsigned(id.ProdType >> 8),
        unsigned(id.ProdCode & 0xFF),        unsigned(id.ProdCode >> 8),
        unsigned((id.MajRev & 0x7F) | 0x80), unsigned(id.MinRev),
    };
    QStringList parts;
    for (unsigned b : bytes)
        parts.append(QStringLiteral("0x%1")
                         .arg(b, 2, 16, QLatin1Char('0'))
                         .toUpper()
                         .replace(QLatin1String("0X"), QLatin1String("0x")));
    return parts.join(QLatin1String(", "));
}

}  // namespace zfw
