#include "common/USettings.h"

#include "common/ProjectXml.h"
#include "common/UComon.h"

#include <QDomDocument>
#include <QSaveFile>

namespace zfw {

namespace {

struct Text {
    bool present = false;
    QString value;
};

Text groupText(const XmlElement& root, const char* group, const char* name)
{
    const std::optional<QString> t = childText(childElement(root, QLatin1String(group)),
                                               QLatin1String(name));
    return t ? Text{true, *t} : Text{};
}

bool optionOn(const XmlElement& root, const char* name)
{
    // Only the exact text "1" switches an option on.
    const Text t = groupText(root, "lastinternet", name);
    return t.present && t.value == QLatin1String("1");
}

void setDefaults(ProgramState& s)
{
    s.Project_Name.clear();
    s.Dir_Project.clear();
    s.Device_IP_Address = QString::fromLatin1(kDefaultDeviceIpAddress);
    s.Language_Name = QStringLiteral("English");
    s.Opt_Enable_Internet = false;
    s.Opt_Enable_Update = false;
    s.Opt_Jump_Field_Tables = false;
    s.Opt_Double_Click_Auto_Size = false;
}

}  // namespace

QString settingsFilePath(const ProgramState& s)
{
    return joinPath(s.Dir_Exe, QString::fromLatin1(kSettingsFileName));
}

void Load_Settings(ProgramState& s)
{
    setDefaults(s);
    // The project-file reader, with its limits on depth and attributes: the settings file is
    // as open to a hostile edit as any project file. The root is read whatever its name.
    const ProjectXmlLoad load = loadProjectXml(settingsFilePath(s));
    if (!load.ok())
        return;
    const XmlElement& root = load.root;

    if (const Text t = groupText(root, "lastproj", "projectname"); t.present)
        s.Project_Name = t.value;
    if (const Text t = groupText(root, "lastipadd", "ipaddress"); t.present)
        s.Device_IP_Address = t.value;
    if (const Text t = groupText(root, "lastlang", "language"); t.present)
        s.Language_Name = t.value;
    s.Opt_Enable_Internet = optionOn(root, "enable_internet");
    s.Opt_Enable_Update = optionOn(root, "enable_update");
    s.Opt_Jump_Field_Tables = optionOn(root, "enable_jump_field_tables");
    s.Opt_Double_Click_Auto_Size = optionOn(root, "Double_Click_Auto_Size");
}

bool Save_Setting(const ProgramState& s)
{
    QDomDocument doc;
    QDomElement root = doc.createElement(QStringLiteral("Conf_Settings"));
    doc.appendChild(root);
    auto addGroup = [&](const char* name) {
        QDomElement g = doc.createElement(QLatin1String(name));
        root.appendChild(g);
        return g;
    };
    auto addText = [&](QDomElement& group, const char* name, const QString& value) {
        QDomElement e = doc.createElement(QLatin1String(name));
        e.appendChild(doc.createTextNode(value));
        group.appendChild(e);
    };
    auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };

    QDomElement proj = addGroup("lastproj");
    addText(proj, "projectname", s.Project_Name);
    QDomElement ip = addGroup("lastipadd");
    addText(ip, "ipaddress", s.Device_IP_Address);
    QDomElement lang = addGroup("lastlang");
    addText(lang, "language", s.Language_Name);
    QDomElement net = addGroup("lastinternet");
    addText(net, "enable_internet", flag(s.Opt_Enable_Internet));
    addText(net, "enable_update", flag(s.Opt_Enable_Update));
    addText(net, "enable_jump_field_tables", flag(s.Opt_Jump_Field_Tables));
    addText(net, "Double_Click_Auto_Size", flag(s.Opt_Double_Click_Auto_Size));

    // Written to a temporary file and renamed, so a crash never leaves a truncated file.
    QSaveFile f(settingsFilePath(s));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(doc.toByteArray(-1));
    return f.commit();
}

}  // namespace zfw
