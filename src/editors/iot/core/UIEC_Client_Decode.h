#pragma once
// The model of one IEC 61850 server decoded from its SCL file (ICD, CID and the other kinds):
// logical devices, logical nodes, data objects with their nested data objects, data
// attributes with their nested attributes, and the data sets with their members and GOOSE
// control names. Every attribute and data set carries its object reference as text.
//
// The model is built in two passes: the first creates every logical device, node, object and
// attribute; the second, once the first has finished for all logical devices, builds the data
// sets (whose members are looked up in the finished model) and names their GOOSE controls.
//
// Ownership: a device owns its logical devices, a logical device its nodes, a node its data
// objects and data sets, a data object its nested objects and attributes, an attribute its
// nested attributes. A data set only refers to its members, which belong to the same device,
// so a data set never outlives its device. TreeNode is the client editor's: never set here and
// never owned.

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QTreeWidgetItem;

namespace zfw {

class TIEC_DA {
public:
    ~TIEC_DA();
    QString Reference;
    QString FC;
    QString bType;  // "Enum" marks an enumeration, whose type is not expanded
    QString Name;
    std::vector<std::unique_ptr<TIEC_DA>> List_DA;
    QTreeWidgetItem* TreeNode = nullptr;

    // Pre-order, depth first, through the nested attributes; null when none is named so.
    TIEC_DA* Find_DA(const QString& DA_Name) const;
    // The first leaf below, following first children; null without nested attributes.
    TIEC_DA* Find_First_DA() const;
};

class TIEC_DO {
public:
    ~TIEC_DO();
    QString Name;
    std::vector<std::unique_ptr<TIEC_DO>> List_DO;
    std::vector<std::unique_ptr<TIEC_DA>> List_DA;
    QTreeWidgetItem* TreeNode = nullptr;

    // Pre-order, depth first, through nested data objects only.
    TIEC_DO* Find_DO(const QString& DO_Name) const;
    // Pre-order, depth first, through attributes and nested attributes, never into nested
    // data objects.
    TIEC_DA* Find_DA(const QString& DA_Name) const;
    TIEC_DA* Find_First_DA() const;
};

class TIEC_DataSet {
public:
    QString Name;
    QString Reference;
    QString GooseName;
    std::vector<TIEC_DA*> List_DA;  // not owned: attributes of the same device
    QTreeWidgetItem* TreeNode = nullptr;
};

class TIEC_LN {
public:
    ~TIEC_LN();
    QString lnClass;
    QString lnType;
    QString Prefix;
    QString Inst;
    std::vector<std::unique_ptr<TIEC_DO>> List_DO;
    std::vector<std::unique_ptr<TIEC_DataSet>> List_DataSet;
    QTreeWidgetItem* TreeNode = nullptr;

    TIEC_DO* Find_DO(const QString& DO_Name) const;
};

class TIEC_LDevice {
public:
    ~TIEC_LDevice();
    QString Name;  // the "inst" attribute
    std::vector<std::unique_ptr<TIEC_LN>> List_LN;
    QTreeWidgetItem* TreeNode = nullptr;

    // The first logical node of the class, whatever its prefix and instance.
    TIEC_LN* Find_LN(const QString& LN_Class) const;
};

class TIEC_Device {
public:
    ~TIEC_Device();
    QString Name;      // of the first IED; the start of every reference
    QString FileName;  // without its folder
    std::vector<std::unique_ptr<TIEC_LDevice>> List_LDevice;
    QTreeWidgetItem* TreeNode = nullptr;
    // Set on a catalogue entry whose file could not be decoded: it keeps its place so that
    // the device indexes of later entries stay, and holds no logical devices.
    bool Placeholder = false;

    TIEC_LDevice* Find_LDevice(const QString& LD_Name) const;
};

// Bounds of one decode. SCL files are larger and deeper than project files, so they have
// their own.
struct SclLimits {
    qint64 maxBytes = 128 * 1024 * 1024;
    int maxDepth = 64;  // element nesting of the file
    // Template expansion may multiply a small file into a huge model; past this many model
    // objects the decode stops and keeps what it built.
    qint64 maxObjects = 4'000'000;
    int maxTemplateDepth = 64;  // nested data objects and attributes below a data object
};

struct SclDecodeResult {
    // Null when the file is not readable as SCL XML (error then says why, naming the file);
    // a missing file gives an empty device, as the editor expects.
    std::unique_ptr<TIEC_Device> device;
    QString error;
    // Set when a bound cut the model short; the device holds what was built.
    QString warning;
};

// Decodes the SCL file at path. The device's FileName is the path's file name.
SclDecodeResult decodeSclFile(const QString& path, const SclLimits& limits = {});
// The same from bytes; name is the file name messages show and FileName takes.
SclDecodeResult decodeSclBytes(const QByteArray& bytes, const QString& name,
                               const SclLimits& limits = {});

// The model as text: the device, then one line per attribute (pre-order) and one per data set
// followed by its members, indented. Tests and the fuzzer compare models through it.
QString sclReferenceList(const TIEC_Device& device);

}  // namespace zfw
