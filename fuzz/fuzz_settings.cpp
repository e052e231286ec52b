// The settings file: any bytes as Zandoveric.xml. Reading never fails outright (a bad file
// gives the defaults); what was read survives a save and a second read; and the language
// name read from it never loads a file outside the language folder.

#include "FuzzSupport.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/USettings.h"

namespace {

struct Folders {
    QString exe;
    QString language;
};

const Folders& folders()
{
    static const Folders f = [] {
        Folders d;
        d.exe = zfw::fuzz::scratchDir("settings");
        d.language = zfw::joinPath(d.exe, QStringLiteral("LANGUAGE"));
        QDir().mkpath(d.language);
        // A file next to the language folder that no language name may reach.
        zfw::fuzz::writeBytes(zfw::joinPath(d.exe, QStringLiteral("Outside.lng")),
                              "STR0 =Outside\n");
        zfw::fuzz::writeBytes(zfw::joinPath(d.language, QStringLiteral("English.lng")),
                              "STR0 =Start\n");
        zfw::fuzz::writeBytes(zfw::joinPath(d.language, QStringLiteral("Italiano.lng")),
                              "STR0 =Inizio\n");
        return d;
    }();
    return f;
}

bool sameSettings(const zfw::ProgramState& a, const zfw::ProgramState& b)
{
    return a.Project_Name == b.Project_Name && a.Device_IP_Address == b.Device_IP_Address
           && a.Language_Name == b.Language_Name && a.Opt_Enable_Internet == b.Opt_Enable_Internet
           && a.Opt_Enable_Update == b.Opt_Enable_Update
           && a.Opt_Jump_Field_Tables == b.Opt_Jump_Field_Tables
           && a.Opt_Double_Click_Auto_Size == b.Opt_Double_Click_Auto_Size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Folders& f = folders();
    zfw::ProgramState s;
    s.Dir_Exe = f.exe;
    s.Dir_Language = f.language;
    if (!zfw::fuzz::writeBytes(zfw::settingsFilePath(s), zfw::fuzz::bytesOf(data, size)))
        return 0;
    zfw::Load_Settings(s);

    ZFW_FUZZ_CHECK(zfw::Save_Setting(s));
    zfw::ProgramState reread;
    reread.Dir_Exe = f.exe;
    zfw::Load_Settings(reread);
    ZFW_FUZZ_CHECK(sameSettings(s, reread));

    const QString chosen = s.Language_Name;
    zfw::Load_Language(s);
    ZFW_FUZZ_CHECK(s.Language_Table.size() == zfw::kLanguageTableSize);
    ZFW_FUZZ_CHECK(s.lang(0) != QLatin1String("Outside"));
    ZFW_FUZZ_CHECK(s.Language_Name == chosen || s.Language_Name == QLatin1String("English"));
    return 0;
}
