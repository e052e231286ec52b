#include "platform/DataRoot.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace zfw {

bool isFolderWritable(const QString& dir)
{
    if (!QFileInfo(dir).isDir())
        return false;
    // Permission bits do not tell the whole truth (read-only mounts, ACLs): try it.
    QTemporaryFile probe(dir + QStringLiteral("/.write-probe-XXXXXX"));
    return probe.open();
}

QString resolveDataRoot(const QString& exeDir)
{
    const QString cleanExe = QDir::cleanPath(exeDir);
    if (isFolderWritable(cleanExe))
        return cleanExe;
    QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (user.isEmpty())
        return cleanExe;
    QDir().mkpath(user);
    return QDir::cleanPath(user);
}

}  // namespace zfw
