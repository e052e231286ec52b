#include "grid/IntList.h"

#include <QStringList>

#include <algorithm>

namespace zfw {

namespace {

bool isBlank(QChar c) { return c.unicode() <= u' '; }

// Items of a comma text: a comma or white space outside double quotes separates items, a
// quoted item may hold both, and a doubled quote inside quotes is one quote. A comma at the
// very end stands for a last, empty item.
QStringList splitCommaText(const QString& s)
{
    QStringList items;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && isBlank(s.at(i)))
        ++i;
    while (i < n) {
        QString item;
        if (s.at(i) == u'"') {
            ++i;
            while (i < n) {
                if (s.at(i) == u'"') {
                    if (i + 1 < n && s.at(i + 1) == u'"') {
                        item += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += s.at(i++);
            }
        } else {
            const qsizetype start = i;
            while (i < n && !isBlank(s.at(i)) && s.at(i) != u',')
                ++i;
            item = s.mid(start, i - start);
        }
        items << item;
        while (i < n && isBlank(s.at(i)))
            ++i;
        if (i < n && s.at(i) == u',') {
            ++i;
            if (i == n)
                items << QString();
            while (i < n && isBlank(s.at(i)))
                ++i;
        }
    }
    return items;
}

}  // namespace

void TIntList::changed()
{
    if (OnChange)
        OnChange(this, m_col, m_row);
}

void TIntList::Add(std::int32_t Value)
{
    m_items.push_back(Value);
    changed();
}

bool TIntList::Insert(int Index, std::int32_t Value)
{
    if (Index < 0 || Index > Count())
        return false;
    m_items.insert(m_items.begin() + Index, Value);
    return true;
}

bool TIntList::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return false;
    m_items.erase(m_items.begin() + Index);
    changed();
    return true;
}

std::int32_t TIntList::GetInteger(int Index) const
{
    if (Index < 0 || Index >= Count())
        return 0;
    return m_items[std::size_t(Index)];
}

bool TIntList::SetInteger(int Index, std::int32_t Value)
{
    if (Index < 0 || Index >= Count())
        return false;
    m_items[std::size_t(Index)] = Value;
    changed();
    return true;
}

bool TIntList::HasValue(std::int32_t Value) const
{
    return std::find(m_items.begin(), m_items.end(), Value) != m_items.end();
}

void TIntList::DeleteValue(std::int32_t Value)
{
    const auto it = std::find(m_items.begin(), m_items.end(), Value);
    if (it == m_items.end())
        return;
    m_items.erase(it);
    changed();
}

QString TIntList::StrValue() const
{
    QString s;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (i > 0)
            s += u',';
        s += QString::number(m_items[i]);
    }
    return s;
}

bool TIntList::SetStrValue(const QString& text, QString* badItem)
{
    m_items.clear();
    for (const QString& item : splitCommaText(text)) {
        bool ok = false;
        const int v = item.trimmed().toInt(&ok);
        if (!ok || item.isEmpty()) {
            if (badItem)
                *badItem = item;
            return false;
        }
        Add(v);
    }
    return true;
}

}  // namespace zfw
