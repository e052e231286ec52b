#pragma once
// Small builders the editors' table descriptors are written with. Columns and checks are
// named by attribute; builtRuleSpec resolves and asserts the names.

#include "ruleedit/core/URuleTable.h"

#include <initializer_list>

namespace zfw::rulespec {

inline RuleColumn column(QAnyStringView attribute, int header,
                         RuleColumnKind kind = RuleColumnKind::Text)
{
    RuleColumn c;
    c.attribute = attribute.toString();
    c.headerText = header;
    c.kind = kind;
    if (kind == RuleColumnKind::CheckBox)
        c.defaultText = QStringLiteral("N");
    return c;
}

inline RuleColumn combo(QAnyStringView attribute, int header, QStringList items)
{
    RuleColumn c = column(attribute, header, RuleColumnKind::Combo);
    c.items = std::move(items);
    return c;
}

// A combo column that also takes any typed text.
inline RuleColumn comboEdit(QAnyStringView attribute, int header, QStringList items)
{
    RuleColumn c = column(attribute, header, RuleColumnKind::ComboEdit);
    c.items = std::move(items);
    return c;
}

inline RuleColumn numberColumn(int header)
{
    RuleColumn c;
    c.headerText = header;
    c.kind = RuleColumnKind::Number;
    return c;
}

// The Enable column: "Y" at opening and when the file lacks it.
inline RuleColumn enableColumn(int header, QAnyStringView attribute = u"Enable")
{
    RuleColumn c = column(attribute, header, RuleColumnKind::CheckBox);
    c.defaultText = QStringLiteral("Y");
    c.openingText = QStringLiteral("Y");
    return c;
}

inline RuleCheck range(QAnyStringView attribute, int text, qint64 min, qint64 max)
{
    RuleCheck c;
    c.attribute = attribute.toString();
    c.text = text;
    c.min = min;
    c.max = max;
    return c;
}

inline RuleCheck rangeWithBound(QAnyStringView attribute, int text, qint64 min, qint64 max)
{
    RuleCheck c = range(attribute, text, min, max);
    c.boundFollows = true;
    return c;
}

inline RuleCheck notBlank(QAnyStringView attribute, int text)
{
    RuleCheck c;
    c.kind = RuleCheckKind::NotBlank;
    c.attribute = attribute.toString();
    c.text = text;
    return c;
}

inline RuleCheck oneOf(QAnyStringView attribute, int text, QStringList items)
{
    RuleCheck c;
    c.kind = RuleCheckKind::OneOf;
    c.attribute = attribute.toString();
    c.text = text;
    c.items = std::move(items);
    return c;
}

inline RuleCheck hexRange(QAnyStringView attribute, int text, qint64 min, qint64 max)
{
    RuleCheck c = range(attribute, text, min, max);
    c.kind = RuleCheckKind::HexRange;
    return c;
}

// The editor's own check of a row; uses names the columns it reads.
inline RuleCheck rowCheck(RuleRowCheck check, QStringList uses = {})
{
    RuleCheck c;
    c.kind = RuleCheckKind::Row;
    c.rowCheck = std::move(check);
    c.uses = std::move(uses);
    return c;
}

// A fault of a row check: text, then the bound when given.
inline RuleFault fault(int text, std::optional<qint64> bound = std::nullopt,
                       RuleMessageForm form = RuleMessageForm::RowPrefix)
{
    RuleFault f;
    f.text = text;
    f.form = form;
    if (bound) {
        f.hasBound = true;
        f.bound = *bound;
    }
    return f;
}

// Gives columns 1, 2, ... the hint texts in order.
inline void setHints(QList<RuleColumn>& cols, std::initializer_list<int> hints)
{
    int c = 1;
    for (int h : hints)
        if (c < cols.size())
            cols[c++].hintText = h;
}

}  // namespace zfw::rulespec
