#pragma once
// The numbered language table: English defaults, overridden from a language file.

#include <QByteArray>
#include <QString>

namespace zfw {

struct ProgramState;

// Clears Language_Table, appends the 6400 English defaults in number order and sets
// Language_Table_Size.
void Fill_Default_Language(ProgramState& s);

// Applies the language file at path to the filled table. False when the file cannot be read;
// the table is then left as it was. Malformed lines are skipped one by one.
bool Load_Language_File(ProgramState& s, const QString& path);

// Applies the lines of an already read language file (raw bytes, any supported encoding).
void Apply_Language_Text(ProgramState& s, const QByteArray& bytes);

// English defaults, then the file of Language_Name; when that file is missing, or the name is
// more than a file name (a separator, a drive colon, a control character), the language
// falls back to English and English.lng is applied if present.
void Load_Language(ProgramState& s);

// Decodes a text file: a byte-order mark selects UTF-8 or UTF-16; without one the bytes are
// read as UTF-8 when they are valid UTF-8, else as Windows-1252.
QString decodeTextFile(const QByteArray& bytes);

}  // namespace zfw
