#pragma once
// What the rule-check tables share: rows given as cells by attribute, a row's passing cells
// merged with the changes a case makes, and the default English texts the messages are read in.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "ruleedit/core/URuleTable.h"

#include <QString>

#include <map>

namespace zfw::test {

using Cells = std::map<QString, QString>;

// Built once per test program and never changed afterwards.
inline const ProgramState& defaultLanguage()
{
    static const ProgramState lang = [] {
        ProgramState s;
        Fill_Default_Language(s);
        return s;
    }();
    return lang;
}

// Writes `defaults` into `row` of `t`, each cell replaced by the case's change where it has one.
inline void setCells(RuleTable& t, int row, Cells defaults, const Cells& changes)
{
    for (const auto& [attribute, text] : changes)
        defaults[attribute] = text;
    for (const auto& [attribute, text] : defaults)
        t.setCell(t.spec().col(attribute), row, text);
}

}  // namespace zfw::test
