#include "common/ULanguage.h"

#include "common/LanguageDefaults.h"
#include "common/TextUtil.h"
#include "common/UComon.h"

#include <QFile>
#include <QStringDecoder>

namespace zfw {

namespace {

constexpr char16_t kPilcrow = 0x00B6;

void applyLine(ProgramState& s, QStringView raw)
{
    const QString line = trimBlanks(raw);
    if (!line.startsWith(QLatin1String("STR")))
        return;
    const qsizetype eq = line.indexOf(QLatin1Char('='));  // 0-based
    if (eq < 0)
        return;
    // The number runs from the fourth character to two before "="; the character just
    // before "=" is a separator that language files fill with a blank.
    const qsizetype numberLength = eq - 4;
    if (numberLength <= 0)
        return;
    const std::optional<int> number = parseIntText(
        trimBlanks(QStringView(line).mid(3, numberLength)));
    if (!number || *number < 0 || *number >= s.Language_Table_Size)
        return;

    QString value = trimBlanks(QStringView(line).mid(eq + 1));
    if (value.isEmpty())
        return;
    const qsizetype comment = value.indexOf(QLatin1String("/#/"));
    if (comment >= 0) {
        value = trimBlanks(QStringView(value).left(comment));
        if (value.isEmpty())
            return;
    }
    if (value.startsWith(QChar(kPilcrow)))
        value.remove(0, 1);
    const qsizetype pilcrow = value.indexOf(QChar(kPilcrow));
    if (pilcrow >= 0)
        value.truncate(pilcrow);
    s.Language_Table[*number] = value;
}

}  // namespace

QString decodeTextFile(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder dec(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                        : QStringDecoder::Utf16BE);
        return dec.decode(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(bytes);
}

void Fill_Default_Language(ProgramState& s)
{
    s.Language_Table.clear();
    s.Language_Table.reserve(kLanguageTableSize);
    for (int i = 0; i < kLanguageTableSize; ++i)
        s.Language_Table.append(QStringLiteral(" "));
    s.Language_Table[2592] = QString();
    for (std::span<const LangText> block : languageDefaultBlocks())
        for (const LangText& t : block)
            s.Language_Table[t.number] = QString::fromUtf8(t.text);
    s.Language_Table_Size = kLanguageTableSize;
}

void Apply_Language_Text(ProgramState& s, const QByteArray& bytes)
{
    const QString text = decodeTextFile(bytes);
    // Line ends may be CR LF, LF or CR.
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i == n || text[i] == u'\r' || text[i] == u'\n') {
            applyLine(s, QStringView(text).mid(start, i - start));
            if (i + 1 < n && text[i] == u'\r' && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
}

bool Load_Language_File(ProgramState& s, const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    Apply_Language_Text(s, f.readAll());
    return true;
}

namespace {

bool isPlainLanguageName(const QString& name)
{
    // The name becomes one file name in the language folder. A separator of any system the
    // settings file may come from, a drive colon, a zero character (the file system would cut
    // the path there) or another control character would let it name some other file.
    for (QChar c : name)
        if (c.unicode() < 0x20 || c == u'/' || c == u'\\' || c == u':')
            return false;
    return true;
}

}  // namespace

void Load_Language(ProgramState& s)
{
    Fill_Default_Language(s);
    // The name comes from the settings file and was joined into the path unchecked, so
    // "../x" or an absolute path loaded a file outside the language folder. Such a name now
    // falls back as a missing language does.
    const QString chosen = joinPath(s.Dir_Language, s.Language_Name + QLatin1String(".lng"));
    if (isPlainLanguageName(s.Language_Name) && QFile::exists(chosen)) {
        Load_Language_File(s, chosen);
        return;
    }
    s.Language_Name = QStringLiteral("English");
    const QString english = joinPath(s.Dir_Language, QStringLiteral("English.lng"));
    if (QFile::exists(english))
        Load_Language_File(s, english);
}

}  // namespace zfw
