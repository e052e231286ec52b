#pragma once
// Small builders the editors' table descriptors are written with.

#include "config/core/URuleTable.h"

#include <initializer_list>

namespace zfw::rulespec {

inline RuleColumn column(const char* attribute, int header,
                         RuleColumnKind kind = RuleColumnKind::Text)
{
    RuleColumn c;
    c.attribute = QString::fromLatin1(attribute);
    c.headerText = header;
    c.kind = kind;
    if (kind == RuleColumnKind::CheckBox)
        c.defaultText = QStringLiteral("N");
    return c;
}

inline RuleColumn combo(const char* attribute, int header, QStringList items)
{
    RuleColumn c = column(attribute, header, RuleColumnKind::Combo);
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

inline RuleColumn enableColumn(int header)
{
    RuleColumn c = column("Enable", header, RuleColumnKind::CheckBox);
    c.defaultText = QStringLiteral("Y");
    return c;
}

inline RuleCheck range(int col, int text, int min, int max)
{
    RuleCheck c;
    c.column = col;
    c.text = text;
    c.min = min;
    c.max = max;
    return c;
}

inline RuleCheck rangeWithBound(int col, int text, int min, int max)
{
    RuleCheck c = range(col, text, min, max);
    c.boundFollows = true;
    return c;
}

inline RuleCheck notBlank(int col, int text)
{
    RuleCheck c;
    c.kind = RuleCheckKind::NotBlank;
    c.column = col;
    c.text = text;
    return c;
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
