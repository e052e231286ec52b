#pragma once
// The small grids the interaction tests drive in a real (offscreen) window: the window holds
// only the grid, which has no frame and no scroll bars so that cell rectangles are exact, one
// fixed row and one fixed column, columns of 60 px and rows of 22 px.

#include <QApplication>
#include <QFrame>
#include <QLayout>
#include <QLineEdit>
#include <QSize>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace zfw::test {

template <class Grid>
void shapeSmallGrid(Grid& g, int cols, int rows, QSize size)
{
    g.setFrameShape(QFrame::NoFrame);
    g.SetScrollBars(ssNone);
    g.SetColCount(cols);
    g.SetRowCount(rows);
    g.SetFixedCols(1);
    g.SetFixedRows(1);
    g.SetDefaultColWidth(60);
    g.SetDefaultRowHeight(22);
    g.setFixedSize(size);
}

// A new grid filling `window`.
template <class Grid>
Grid* placeGrid(QWidget& window)
{
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* grid = new Grid(&window);
    layout->addWidget(grid);
    return grid;
}

template <class Grid>
Grid* addSmallGrid(QWidget& window, int cols, int rows, QSize size)
{
    Grid* grid = placeGrid<Grid>(window);
    shapeSmallGrid(*grid, cols, rows, size);
    return grid;
}

// Shows the window, waits until it is the active one and gives `focus` the keyboard; false
// when the platform never activated it.
inline bool showActive(QWidget& window, QWidget& focus)
{
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return false;
    focus.setFocus(Qt::OtherFocusReason);
    return true;
}

// Another control of the window takes the focus, as a user's click on it would; the events
// of the focus change have been handled when it returns. The field belongs to the window.
inline QLineEdit* focusNewFieldBeside(QWidget& window)
{
    auto* other = new QLineEdit(&window);
    if (window.layout())
        window.layout()->addWidget(other);
    other->show();
    other->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    return other;
}

}  // namespace zfw::test
