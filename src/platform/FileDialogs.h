#pragma once
// Choosing a file to open or to save, behind a small interface that the dialogs service
// implements, so that a test can answer the choice from a script and see what was asked.

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace zfw {

struct FileDialogRequest {
    QString title;     // empty: the platform's title
    QString folder;    // the folder shown first; empty: the platform's choice
    QString fileName;  // the name proposed (a bare name, or a path that overrides folder)
    // Pairs of a description and its patterns, all separated by '|', patterns by ';':
    // "Electronic Data Sheet (*.eds)|*.eds|Any File (*.*)|*.*". Empty: every file.
    QString filter;
    int filterIndex = 1;           // the pair offered first, counted from 1
    QString defaultSuffix;         // given to a name typed without one; "mib", ".mib" or "*.mib"
    bool confirmOverwrite = true;  // saving: ask before an existing file is replaced
};

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;

    // The existing file the user chose to open; nullopt when he cancelled.
    virtual std::optional<QString> openFileName(const FileDialogRequest& request,
                                                QWidget* parent) = 0;
    // The file the user chose to save to (with the default suffix when he typed none);
    // nullopt when he cancelled, also when he declined to replace an existing file.
    virtual std::optional<QString> saveFileName(const FileDialogRequest& request,
                                                QWidget* parent) = 0;
};

// The filter of a request as the name filters of a Qt file dialog, one per pair:
// "description (patterns)". A parenthesised group that ends the description is replaced by
// the real patterns, so that it is neither shown twice nor taken for the patterns. "*.*"
// becomes "*": any file, also one without a suffix. A trailing description without patterns
// is left out.
QStringList qtNameFilters(const QString& filter);

// The default suffix without "*." or ".": "*.mib" gives "mib".
QString plainSuffix(const QString& defaultSuffix);

}  // namespace zfw
