// The text editor's rules for typed and pasted characters by editor kind. No widget: the
// editor hands in its text state and applies the verdict.

#include "grid/ExtUtil.h"
#include "grid/InplaceEdit.h"

namespace zfw {

namespace {

bool isControl(QChar ch)
{
    const char16_t c = ch.unicode();
    return c == 8 || c == 9 || c == 13 || c == 27;
}

bool isDigit(QChar ch) { return ch >= u'0' && ch <= u'9'; }

// The text outside the selection.
QString unselectedText(const EditCharContext& ctx)
{
    QString t = ctx.text;
    if (ctx.selLength > 0)
        t.remove(ctx.selStart, ctx.selLength);
    return t;
}

// "-" may start a number: at position 0 when the text has none, or replacing a selection
// that holds the one there is.
bool minusAllowed(const EditCharContext& ctx, bool selectionCounts)
{
    const bool atStart = (ctx.selLength > 0 ? ctx.selStart : ctx.cursor) == 0;
    if (atStart && !unselectedText(ctx).contains(u'-'))
        return true;
    return selectionCounts && ctx.selLength > 0
           && ctx.text.mid(ctx.selStart, ctx.selLength).contains(u'-');
}

EditCharResult floatChar(QChar ch, const EditCharContext& ctx, bool positive)
{
    if (isControl(ch) || isDigit(ch))
        return {EditCharVerdict::Accept, ch};
    if (ch == u'-') {
        if (positive)
            return {EditCharVerdict::Drop, ch};
        return {minusAllowed(ctx, true) ? EditCharVerdict::Accept : EditCharVerdict::Beep, ch};
    }
    if (ch == u',' || ch == u'.' || ch == ctx.decimalSeparator || ch == ctx.thousandSeparator) {
        if (ch == ctx.thousandSeparator && ch != ctx.decimalSeparator)
            return {EditCharVerdict::Drop, ch};
        if (ch == ctx.decimalSeparator && unselectedText(ctx).contains(ctx.decimalSeparator))
            return {EditCharVerdict::Drop, ch};
        if (ch == u',' || ch == u'.' || ch == ctx.decimalSeparator)
            return {EditCharVerdict::Accept, ch};
    }
    return {ctx.ctrl ? EditCharVerdict::Accept : EditCharVerdict::Drop, ch};
}

}  // namespace

bool IsTextEditorKind(TEditorType kind)
{
    switch (kind) {
    case TEditorType::edNormal:
    case TEditorType::edNumeric:
    case TEditorType::edPositiveNumeric:
    case TEditorType::edFloat:
    case TEditorType::edCapital:
    case TEditorType::edMixedCase:
    case TEditorType::edPassword:
    case TEditorType::edLowerCase:
    case TEditorType::edUpperCase:
    case TEditorType::edValidChars:
    case TEditorType::edPositiveFloat: return true;
    default: return false;
    }
}

EditCharResult FilterEditChar(TEditorType kind, QChar ch, const EditCharContext& ctx)
{
    switch (kind) {
    case TEditorType::edNormal:
    case TEditorType::edPassword:
    case TEditorType::edMixedCase: return {EditCharVerdict::Accept, ch};
    case TEditorType::edNumeric:
        if (isControl(ch) || isDigit(ch))
            return {EditCharVerdict::Accept, ch};
        if (ch == u'-' && minusAllowed(ctx, false))
            return {EditCharVerdict::Accept, ch};
        return {EditCharVerdict::Beep, ch};
    case TEditorType::edPositiveNumeric:
        if (isControl(ch) || isDigit(ch))
            return {EditCharVerdict::Accept, ch};
        return {EditCharVerdict::Beep, ch};
    case TEditorType::edFloat: return floatChar(ch, ctx, false);
    case TEditorType::edPositiveFloat: return floatChar(ch, ctx, true);
    case TEditorType::edCapital:
    case TEditorType::edUpperCase: return {EditCharVerdict::Accept, ch.toUpper()};
    case TEditorType::edLowerCase: return {EditCharVerdict::Accept, ch.toLower()};
    case TEditorType::edValidChars:
        if (ch.unicode() == 8 || ch.unicode() == 13 || ctx.validChars.contains(ch))
            return {EditCharVerdict::Accept, ch};
        return {EditCharVerdict::Beep, ch};
    default: return {EditCharVerdict::Drop, ch};
    }
}

bool AcceptPastedText(TEditorType kind, QString& value, QChar decimalSeparator,
                      QChar thousandSeparator, const QString& validChars)
{
    switch (kind) {
    case TEditorType::edNumeric:
    case TEditorType::edPositiveNumeric:
        if (ClassifyNumberText(value, decimalSeparator, thousandSeparator) != nkInteger)
            return false;
        return kind == TEditorType::edNumeric || !value.contains(u'-');
    case TEditorType::edFloat:
    case TEditorType::edPositiveFloat: {
        const int k = ClassifyNumberText(value, decimalSeparator, thousandSeparator);
        if (k != nkInteger && k != nkDecimal && k != nkExponent)
            return false;
        return kind == TEditorType::edFloat || !value.contains(u'-');
    }
    case TEditorType::edMixedCase: {
        QString out = value.toLower();
        bool start = true;
        for (QChar& c : out) {
            if (start && c.isLetter())
                c = c.toUpper();
            start = c.isSpace();
        }
        value = out;
        return true;
    }
    case TEditorType::edLowerCase: value = value.toLower(); return true;
    case TEditorType::edUpperCase: value = value.toUpper(); return true;
    case TEditorType::edValidChars:
        for (QChar c : value)
            if (!validChars.contains(c))
                return false;
        return true;
    default: return true;
    }
}

}  // namespace zfw
