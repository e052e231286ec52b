#include "editors/building/UProfibusProfinetSteps.h"

#include "common/MakerTexts.h"
#include "common/ProjectXml.h"
#include "common/UComon.h"
#include "editors/building/core/UGSDMLWriter.h"
#include "editors/building/core/UGSDWriter.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zfw {

namespace {

constexpr int kTextOverwrite = 1103;
constexpr int kTextNoParGen = 1104;
constexpr int kTextOverwriteGsdml = 4808;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Counts a description file cannot describe used to be written as read, giving a file the
// engineering tool refuses or misreads; the user now hears of it first and decides.
bool countsAccepted(bool describable, int in, int out, int limit, IUserDialogs& dialogs,
                    QWidget* parent)
{
    if (describable)
        return true;
    return dialogs.askYesNo(
        QStringLiteral("The input byte count %1 or the output byte count %2 lies outside 0 to %3,"
                       " which the description file cannot describe.\nWrite the file anyway?")
            .arg(in)
            .arg(out)
            .arg(limit),
        parent);
}

DescriptionStep written(const QString& path, const QByteArray& bytes, IUserDialogs& dialogs,
                        QWidget* parent)
{
    const FileResult r = saveFileAtomically(path, bytes);
    if (r.ok)
        return DescriptionStep::Written;
    dialogs.showError(r.message, parent);
    return DescriptionStep::Failed;
}

}  // namespace

DescriptionStep Create_GSD_File(const ProgramState& s, IUserDialogs& dialogs, QWidget* parent)
{
    if (!QFileInfo::exists(s.File_ParGen)) {
        dialogs.showError(s.lang(kTextNoParGen), parent);
        return DescriptionStep::NoParGen;
    }
    const GsdCounts c = readGsdCounts(readAll(s.File_ParGen));
    if (!countsAccepted(gsdCountsDescribable(c.GSD_Nb_In, c.GSD_Nb_Out), c.GSD_Nb_In, c.GSD_Nb_Out,
                        kGsdMaxBytesPerDirection, dialogs, parent))
        return DescriptionStep::Cancelled;
    FileDialogRequest request;
    request.folder = s.Dir_Project;
    request.filter = QStringLiteral("Generic Station Description (*.gsd)|*.gsd");
    request.confirmOverwrite = false;  // asked below, once the extension is known
    const auto chosen = dialogs.saveFileName(request, parent);
    if (!chosen)
        return DescriptionStep::Cancelled;
    const QString path = gsdFileName(*chosen);
    if (QFileInfo::exists(path) && !dialogs.askYesNo(s.lang(kTextOverwrite), parent))
        return DescriptionStep::Cancelled;
    return written(path,
                   gsdFileBytes(buildGsdLines(c.GSD_Nb_In, c.GSD_Nb_Out, builtInMakerTexts())),
                   dialogs, parent);
}

DescriptionStep Create_GSDML_File(const QString& FileName, const ProgramState& s,
                                  IUserDialogs& dialogs, QWidget* parent)
{
    const GsdmlParams p = Read_GSDML_Param(QFileInfo::exists(s.File_ParGen) ? readAll(s.File_ParGen)
                                                                            : QByteArray());
    if (!countsAccepted(gsdmlCountsDescribable(p), p.GSDML_Nb_In, p.GSDML_Nb_Out,
                        kGsdmlMaxBytesPerDirection, dialogs, parent))
        return DescriptionStep::Cancelled;
    FileDialogRequest request;
    request.folder = s.Dir_Project;
    request.fileName = FileName;
    request.filter = QStringLiteral("PROFINET XML (*.xml)|") + FileName;
    request.confirmOverwrite = false;  // the composed name is what is written, asked below
    const auto chosen = dialogs.saveFileName(request, parent);
    if (!chosen)
        return DescriptionStep::Cancelled;
    // Only the chosen folder counts: the composed name is written whatever name was picked.
    const QString path = QDir(QFileInfo(*chosen).absolutePath()).filePath(FileName);
    if (QFileInfo::exists(path) && !dialogs.askYesNo(s.lang(kTextOverwriteGsdml), parent))
        return DescriptionStep::Cancelled;
    return written(path, gsdmlFileBytes(buildGsdmlLines(p)), dialogs, parent);
}

}  // namespace zfw
