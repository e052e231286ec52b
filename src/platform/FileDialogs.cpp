#include "platform/FileDialogs.h"
#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QRegularExpression>

#include <algorithm>

namespace zfw {

QStringList qtNameFilters(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'))) {
            const QString t = p.trimmed();
            if (t.isEmpty())
                continue;
            // "*.*" means every file; on a system where names need no dot Qt would take it
            // literally and hide the files without a suffix.
            patterns.append(t == QLatin1String("*.*") ? QStringLiteral("*") : t);
        }
        if (patterns.isEmpty())
            patterns.append(QStringLiteral("*"));
        QString description = parts[i].trimmed();
        static const QRegularExpression trailingGroup(QStringLiteral("\\s*\\([^()]*\\)$"));
        description.remove(trailingGroup);
        if (description.isEmpty())
            description = patterns.join(QLatin1Char(' '));
        result.append(description + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
                      + QLatin1Char(')'));
    }
    return result;
}

QString plainSuffix(const QString& defaultSuffix)
{
    QString s = defaultSuffix.trimmed();
    if (s.startsWith(QLatin1Char('*')))
        s.remove(0, 1);
    if (s.startsWith(QLatin1Char('.')))
        s.remove(0, 1);
    return s;
}

namespace {

std::optional<QString> runFileDialog(const FileDialogRequest& request, QWidget* parent, bool save)
{
    QFileDialog dialog(parent, request.title, request.folder);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const qsizetype index = std::clamp<qsizetype>(request.filterIndex, 1, filters.size());
        dialog.selectNameFilter(filters[index - 1]);
    }
    dialog.setDefaultSuffix(plainSuffix(request.defaultSuffix));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.first();
}

}  // namespace

std::optional<QString> QtUserDialogs::openFileName(const FileDialogRequest& request,
                                                   QWidget* parent)
{
    return runFileDialog(request, parent, false);
}

std::optional<QString> QtUserDialogs::saveFileName(const FileDialogRequest& request,
                                                   QWidget* parent)
{
    return runFileDialog(request, parent, true);
}

}  // namespace zfw
