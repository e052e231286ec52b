#pragma once
// A small grid as the cell-graphic operations see it: texts, own graphics, one optional shared
// graphic for column 0 (row check boxes), row selection and a log of repaints. Counts the
// graphics alive so that a test sees a leak or a freed shared object.

#include "grid/CellGraphic.h"

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace zfw::test {

class FakeGraphicHost : public CellGraphicHost {
public:
    FakeGraphicHost(int cols, int rows) : m_cols(cols), m_rows(rows) {}

    int totalColCount() const override { return m_cols + m_hiddenCols; }
    int rowCount() const override { return m_rows; }
    int numHiddenRows() const override { return m_hiddenRows; }
    TCellGraphic* ownGraphic(int c, int r) const override
    {
        auto it = m_graphics.find({c, r});
        return it == m_graphics.end() ? nullptr : it->second.get();
    }
    bool setOwnGraphic(int c, int r, std::unique_ptr<TCellGraphic> g) override
    {
        m_graphics[{c, r}] = std::move(g);
        return true;
    }
    std::unique_ptr<TCellGraphic> takeOwnGraphic(int c, int r) override
    {
        auto it = m_graphics.find({c, r});
        if (it == m_graphics.end())
            return nullptr;
        auto g = std::move(it->second);
        m_graphics.erase(it);
        return g;
    }
    TCellGraphic* sharedGraphic(int c, int r) const override
    {
        return (c == 0 && m_rowCheckBoxes) ? &m_shared : nullptr;
    }
    int displColIndex(int c) const override { return c - m_displShift; }
    void repaintCell(int dc, int r) override { repaints.push_back({dc, r}); }
    QString cellText(int c, int r) const override
    {
        auto it = m_texts.find({c, r});
        return it == m_texts.end() ? QString() : it->second;
    }
    void setCellText(int c, int r, const QString& t) override
    {
        m_texts[{c, r}] = t;
        ++textWrites;
    }
    bool rowSelect(int r) const override { return m_selected.count(r) != 0; }
    void setRowSelect(int r, bool s) override
    {
        if (s)
            m_selected.insert(r);
        else
            m_selected.erase(r);
    }

    void setRowCheckBoxes(bool on)
    {
        m_rowCheckBoxes = on;
        m_shared.CellType = ctRowCheckBox;
    }
    void setHidden(int cols, int rows)
    {
        m_hiddenCols = cols;
        m_hiddenRows = rows;
    }
    void setDisplShift(int s) { m_displShift = s; }
    std::size_t graphicCount() const { return m_graphics.size(); }
    const TCellGraphic& shared() const { return m_shared; }

    std::vector<std::pair<int, int>> repaints;
    int textWrites = 0;

private:
    int m_cols;
    int m_rows;
    int m_hiddenCols = 0;
    int m_hiddenRows = 0;
    int m_displShift = 0;
    bool m_rowCheckBoxes = false;
    mutable TCellGraphic m_shared;
    std::map<std::pair<int, int>, std::unique_ptr<TCellGraphic>> m_graphics;
    std::map<std::pair<int, int>, QString> m_texts;
    std::set<int> m_selected;
};

}  // namespace zfw::test
