#pragma once
// A list of 32-bit integers that tells its owner about changes; the grid keeps hidden rows,
// row flags, column orders and disjunct selections in such lists.

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace zfw {

class TIntList {
public:
    // Sender, and the cell that owns the list.
    using ChangeEvent = std::function<void(TIntList* sender, int ACol, int ARow)>;

    TIntList(int ACol = 0, int ARow = 0) : m_col(ACol), m_row(ARow) {}

    ChangeEvent OnChange;

    int Count() const { return int(m_items.size()); }
    int Col() const { return m_col; }
    int Row() const { return m_row; }

    // Appends and fires OnChange.
    void Add(std::int32_t Value);
    // Inserts without OnChange. An index outside 0..Count is refused (false).
    bool Insert(int Index, std::int32_t Value);
    // Removes the entry and fires OnChange; an index outside the list is refused (false).
    bool Delete(int Index);
    // The entry; 0 for an index outside the list.
    std::int32_t GetInteger(int Index) const;
    // Replaces the entry and fires OnChange; an index outside the list is refused (false).
    bool SetInteger(int Index, std::int32_t Value);
    bool HasValue(std::int32_t Value) const;
    // Deletes the first entry equal to Value (firing OnChange); nothing when absent.
    void DeleteValue(std::int32_t Value);
    // Empties the list without OnChange.
    void Clear() { m_items.clear(); }

    // The entries as decimal numbers joined by "," without spaces.
    QString StrValue() const;
    // Clears the list (no OnChange), then adds every item of the comma text (a comma, or
    // white space outside double quotes, separates items) with one OnChange each. An item that
    // is not a 32-bit integer stops the load: the items before it stay, the answer is false and
    // *badItem (when given) names the item.
    bool SetStrValue(const QString& text, QString* badItem = nullptr);

    const std::vector<std::int32_t>& values() const { return m_items; }

private:
    void changed();

    std::vector<std::int32_t> m_items;
    int m_col = 0;
    int m_row = 0;
};

}  // namespace zfw
