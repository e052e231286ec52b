#include "editors/iot/core/UIEC_61850_ClientFile.h"

#include "common/TextUtil.h"
#include "common/UComonValidators.h"

#include <QDir>

namespace zfw {

const char* const kIecDaAttributes[kIecDaColumns] = {"Index",      "bType",     "fc",
                                                     "Reference",  "StartByte", "NumByte",
                                                     "IPAddress",  "Port",      "OnChange",
                                                     "OnCMD",      "OnTimer",   "Time",
                                                     "Position",   "StartBit",  "ReadWrite",
                                                     "Convertion", "MoltFact",  "Mnemonic"};

const char* const kIecDataSetAttributes[kIecDataSetColumns] = {"Index",   "Reference", "GooseName",
                                                               "EnGoose", "IPAddress", "Port",
                                                               "Time",    "Mnemonic"};

namespace {

template <typename T>
void freeBackwards(std::vector<std::unique_ptr<T>>& list)
{
    while (!list.empty())
        list.pop_back();
}

QString attr(const XmlElement& e, const char* name, bool& missing)
{
    const auto v = e.attribute(QLatin1String(name));
    if (!v)
        missing = true;
    return v.value_or(QString());
}

QList<XmlElement> children(const XmlElement& e)
{
    QList<XmlElement> out;
    for (XmlElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
        out.append(c);
    return out;
}

// A grid is written with its rows unless it shows only its empty row 1.
bool gridHasRows(const QList<QStringList>& rows)
{
    return rows.size() > 1 || (rows.size() == 1 && !rows[0].value(0).isEmpty());
}

}  // namespace

TDataSet::~TDataSet() { freeBackwards(List_DAs); }

IecClientConfig::~IecClientConfig() { clear(); }

void IecClientConfig::clear()
{
    // Selections refer into the devices: free them first.
    freeBackwards(List_DataSet);
    freeBackwards(List_IEC_Dev);
    daRows = {emptyDaRow()};
    dataSetRows = {emptyDataSetRow()};
}

std::unique_ptr<TDataSet> newDataSetSelection(const TIEC_DataSet& set)
{
    auto ds = std::make_unique<TDataSet>();
    ds->Select_DataSet = &set;
    for (const TIEC_DA* m : set.List_DA) {
        auto member = std::make_unique<TDataSet_DA>();
        member->Select_DA = m;
        ds->List_DAs.push_back(std::move(member));
    }
    return ds;
}

const TIEC_DataSet* Get_DataSet(const std::vector<std::unique_ptr<TIEC_Device>>& devices, int index,
                                const QString& reference)
{
    if (index < 0 || size_t(index) >= devices.size())
        return nullptr;
    for (const auto& ld : devices[size_t(index)]->List_LDevice)
        for (const auto& ln : ld->List_LN)
            for (const auto& ds : ln->List_DataSet)
                if (ds->Reference == reference)
                    return ds.get();
    return nullptr;
}

CatalogEntry decodeCatalogFile(const QString& catalogDir, const QString& fileName,
                               const QString& storedName, const SclLimits& limits)
{
    CatalogEntry entry;
    auto placeholder = [&](QString message) {
        entry.device = std::make_unique<TIEC_Device>();
        entry.device->Name = storedName;
        entry.device->FileName = fileName;
        entry.device->Placeholder = true;
        entry.message = std::move(message);
    };
    // A catalogue entry names a file of the catalogue folder; a name with a folder part
    // would read a file elsewhere.
    if (fileName.isEmpty() || fileName.contains(u'/') || fileName.contains(u'\\')
        || fileName == u".." || fileName == u".") {
        placeholder(QStringLiteral("\"%1\" is no file name of the catalogue folder; the "
                                   "entry is kept, without a device model")
                        .arg(fileName));
        return entry;
    }
    const QString path = QDir(catalogDir).filePath(fileName);
    // Mended: a missing file used to be skipped, so every later device moved down one index
    // and the rows stored for it named another server. It keeps its place now.
    if (!QFileInfo(path).isFile()) {
        placeholder(QStringLiteral("%1: the file is missing from the catalogue folder; the "
                                   "entry is kept, without a device model")
                        .arg(displayPath(path)));
        return entry;
    }
    SclDecodeResult r = decodeSclFile(path, limits);
    if (!r.device) {
        placeholder(r.error + QStringLiteral("; the entry is kept, without a device model"));
        return entry;
    }
    entry.device = std::move(r.device);
    entry.message = r.warning;
    return entry;
}

IecClientLoad loadIecClientFile(const QString& path, const QString& catalogDir,
                                IecClientConfig& config, const SclLimits& limits)
{
    config.clear();
    IecClientLoad load;
    const ProjectXmlLoad doc = loadProjectXml(path);
    load.status = doc.status;
    if (doc.missing())
        return load;
    const QString shown = displayPath(path);
    if (!doc.ok()) {
        load.messages << doc.message;
        return load;
    }
    if (doc.root.tagName() != QLatin1String(kIecClientRoot)) {
        load.messages << QStringLiteral(
                             "%1: the root element is \"%2\", not \"%3\"; nothing "
                             "was read")
                             .arg(shown, doc.root.tagName(), QLatin1String(kIecClientRoot));
        return load;
    }

    const XmlElement files = childElement(doc.root, u"List_ICD_Files");
    if (files.isNull())
        load.messages << QStringLiteral("%1: the catalogue (List_ICD_Files) is missing").arg(shown);
    for (const XmlElement& f : children(files)) {
        CatalogEntry entry = decodeCatalogFile(catalogDir,
                                               f.attribute(u"FileName").value_or(QString()),
                                               f.attribute(u"Name").value_or(QString()), limits);
        if (!entry.message.isEmpty())
            load.messages << entry.message;
        config.List_IEC_Dev.push_back(std::move(entry.device));
    }

    int missingAttributes = 0;
    const XmlElement das = childElement(doc.root, u"List_DA_Selected");
    if (das.isNull())
        load.messages
            << QStringLiteral("%1: the variables (List_DA_Selected) are missing").arg(shown);
    const QList<XmlElement> daItems = children(das);
    if (!daItems.isEmpty())
        config.daRows.clear();
    for (const XmlElement& e : daItems) {
        QStringList row;
        for (int c = 0; c < kIecDaColumns; ++c) {
            bool missing = false;
            row << attr(e, kIecDaAttributes[c], missing);
            // Files written before the byte range existed lack it; they load without a word.
            if (missing && c + 1 != iecda::StartByte && c + 1 != iecda::NumByte)
                ++missingAttributes;
        }
        config.daRows << row;
    }
    Set_Start_Num_Byte(config.daRows);

    const XmlElement sets = childElement(doc.root, u"List_DataSet_Selected");
    const QList<XmlElement> setItems = children(sets);
    if (!setItems.isEmpty())
        config.dataSetRows.clear();
    int rowNumber = 0;
    for (const XmlElement& e : setItems) {
        ++rowNumber;
        QStringList row;
        for (int c = 0; c < kIecDataSetColumns; ++c) {
            bool missing = false;
            row << attr(e, kIecDataSetAttributes[c], missing);
            if (missing)
                ++missingAttributes;
        }
        config.dataSetRows << row;
        auto ds = std::make_unique<TDataSet>();
        const std::optional<int> index = parseIntText(row[0]);
        if (!index && !row[0].isEmpty())
            load.messages << QStringLiteral(
                                 "%1: data set row %2: the device index \"%3\" is "
                                 "no number")
                                 .arg(shown)
                                 .arg(rowNumber)
                                 .arg(row[0]);
        ds->Select_DataSet = Get_DataSet(config.List_IEC_Dev, index.value_or(-1), row[1]);
        const XmlElement members = childElement(e, u"DataSet_List_DAs");
        if (members.isNull())
            ++missingAttributes;
        size_t j = 0;
        int beyond = 0;
        bool keptUnfound = false;
        for (const XmlElement& m : children(members)) {
            const QString bType = m.attribute(u"bType").value_or(QString());
            const QString reference = m.attribute(u"Reference").value_or(QString());
            auto member = std::make_unique<TDataSet_DA>();
            if (ds->Select_DataSet) {
                const auto& decoded = ds->Select_DataSet->List_DA;
                if (j >= decoded.size())
                    ++beyond;
                // A stored member counts only where the decoded set still has the same
                // attribute at its position; settings must never move to another value.
                if (j >= decoded.size() || decoded[j]->bType != bType
                    || decoded[j]->Reference != reference) {
                    ++j;
                    continue;
                }
                member->Select_DA = decoded[j];
            } else {
                // The data set is not in the catalogue now (a file missing or replaced):
                // its members are kept as stored rather than dropped, so that a save does
                // not lose them.
                member->storedBType = bType;
                member->storedReference = reference;
                keptUnfound = true;
            }
            ++j;
            member->Position = m.attribute(u"Position").value_or(QString());
            member->bitAddress = m.attribute(u"StartBit").value_or(QString());
            member->conversion = m.attribute(u"Convertion").value_or(QString());
            member->multFactor = m.attribute(u"MoltFact").value_or(QString());
            member->Mnemonic = m.attribute(u"Mnemonic").value_or(QString());
            ds->List_DAs.push_back(std::move(member));
        }
        if (beyond > 0)
            load.messages << QStringLiteral(
                                 "%1: data set row %2: %3 stored members beyond the "
                                 "members of the data set were left out")
                                 .arg(shown)
                                 .arg(rowNumber)
                                 .arg(beyond);
        if (keptUnfound)
            load.messages << QStringLiteral(
                                 "%1: data set row %2: \"%3\" is not in the "
                                 "catalogue; its members are kept as stored")
                                 .arg(shown)
                                 .arg(rowNumber)
                                 .arg(row[1]);
        config.List_DataSet.push_back(std::move(ds));
    }
    if (missingAttributes > 0)
        load.messages << QStringLiteral("%1: %2 values were missing and were read as empty")
                             .arg(shown)
                             .arg(missingAttributes);
    return load;
}

QByteArray iecClientFileBytes(const IecClientConfig& config)
{
    ProjectXmlWriter w(QLatin1String(kIecClientRoot), QStringLiteral("1.000"));
    ProjectXmlElement& files = w.root().addChild(QStringLiteral("List_ICD_Files"));
    for (const auto& d : config.List_IEC_Dev)
        files.addChild(QStringLiteral("ICD_File"))
            .setAttribute(QStringLiteral("Name"), d->Name)
            .setAttribute(QStringLiteral("FileName"), d->FileName);

    ProjectXmlElement& das = w.root().addChild(QStringLiteral("List_DA_Selected"));
    if (gridHasRows(config.daRows))
        for (const QStringList& row : config.daRows) {
            ProjectXmlElement& e = das.addChild(QStringLiteral("DA_Item"));
            for (int c = 0; c < kIecDaColumns; ++c)
                e.setAttribute(QLatin1String(kIecDaAttributes[c]), row.value(c));
        }

    ProjectXmlElement& sets = w.root().addChild(QStringLiteral("List_DataSet_Selected"));
    if (gridHasRows(config.dataSetRows))
        for (qsizetype r = 0; r < config.dataSetRows.size(); ++r) {
            ProjectXmlElement& e = sets.addChild(QStringLiteral("DataSet_Item"));
            for (int c = 0; c < kIecDataSetColumns; ++c)
                e.setAttribute(QLatin1String(kIecDataSetAttributes[c]),
                               config.dataSetRows[r].value(c));
            ProjectXmlElement& members = e.addChild(QStringLiteral("DataSet_List_DAs"));
            if (size_t(r) >= config.List_DataSet.size())
                continue;
            for (const auto& m : config.List_DataSet[size_t(r)]->List_DAs)
                members.addChild(QStringLiteral("DataSet_DA_Item"))
                    .setAttribute(QStringLiteral("bType"), m->bType())
                    .setAttribute(QStringLiteral("Reference"), m->reference())
                    .setAttribute(QStringLiteral("Position"), m->Position)
                    .setAttribute(QStringLiteral("StartBit"), m->bitAddress)
                    .setAttribute(QStringLiteral("Convertion"), m->conversion)
                    .setAttribute(QStringLiteral("MoltFact"), m->multFactor)
                    .setAttribute(QStringLiteral("Mnemonic"), m->Mnemonic);
        }
    return w.toByteArray();
}

FileResult saveIecClientFile(const IecClientConfig& config, const QString& path)
{
    return saveFileAtomically(path, iecClientFileBytes(config));
}

std::optional<StartNumByte> fixedStartNumByte(const QString& bType)
{
    struct Fixed {
        const char* type;
        const char* count;
    };
    // A time stamp counts one byte here, like an enumeration: the gateway maps it so.
    static constexpr Fixed kFixed[] = {
        {"FLOAT32", "4"}, {"INT32U", "4"}, {"INT32", "4"}, {"QUALITY", "4"}, {"FLOAT64", "8"},
        {"INT64", "8"},   {"INT8U", "1"},  {"INT8", "1"},  {"BOOLEAN", "1"}, {"TIMESTAMP", "1"},
        {"ENUM", "1"},    {"INT16U", "2"}, {"INT16", "2"},
    };
    const QString upper = bType.toUpper();
    for (const Fixed& f : kFixed)
        if (upper == QLatin1String(f.type))
            return StartNumByte{QStringLiteral("0"), QString::fromLatin1(f.count)};
    return std::nullopt;
}

std::vector<bool> Set_Start_Num_Byte(QList<QStringList>& daRows)
{
    std::vector<bool> fixed(size_t(daRows.size()), false);
    for (qsizetype r = 0; r < daRows.size(); ++r) {
        QStringList& row = daRows[r];
        while (row.size() < kIecDaColumns)
            row << QString();
        if (const auto f = fixedStartNumByte(row[iecda::bType - 1])) {
            row[iecda::StartByte - 1] = f->start;
            row[iecda::NumByte - 1] = f->count;
            fixed[size_t(r)] = true;
        }
    }
    return fixed;
}

IecDaFault checkIecDaRows(const QList<QStringList>& daRows, QChar decimalSeparator)
{
    auto num = [](const QStringList& row, int col) { return strToIntDef(row.value(col - 1), -1); };
    for (qsizetype r = 0; r < daRows.size(); ++r) {
        const QStringList& row = daRows[r];
        const int gridRow = int(r) + 1;
        const QString bType = row.value(iecda::bType - 1).toUpper();
        if (bType.isEmpty())
            continue;
        auto fault = [&](int text, QString bound = QString()) {
            return IecDaFault{gridRow, text, std::move(bound)};
        };
        const int start = num(row, iecda::StartByte);
        const int count = num(row, iecda::NumByte);
        if (bType == u"VISSTRING255") {
            if (start < 0 || start > 254)
                return fault(4962);
            if (count < 1 || count > 255)
                return fault(4963);
            if (start + count > 255)
                return fault(4964);
        } else if (bType == u"OCTET64") {
            if (start < 0 || start > 63)
                return fault(4965);
            if (count < 1 || count > 64)
                return fault(4966);
            if (start + count > 64)
                return fault(4967);
        }
        QString p1, p2, p3, p4;
        if (!Split_IP_Address(row.value(iecda::IPAddress - 1), p1, p2, p3, p4))
            return fault(4953);
        const int port = num(row, iecda::Port);
        if (port < 0 || port > 65535)
            return fault(4954);
        if (row.value(iecda::OnTimer - 1).trimmed() == u"Y") {
            const int time = num(row, iecda::Time);
            if (time < 1 || time > 100000000)
                return fault(4955);
        }
        const int position = num(row, iecda::Position);
        if (position < 0 || position > kIecPositionMax)
            return fault(4956, QString::number(kIecPositionMax));
        const QString factor = row.value(iecda::MoltFact - 1);
        float value = 0;
        if (factor.trimmed().toUpper() != u"NONE"
            && !Str_To_Float_Sep(factor, decimalSeparator, value))
            return fault(4957);
    }
    return {};
}

}  // namespace zfw
