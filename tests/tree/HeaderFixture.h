#pragma once
// A shown string tree with a visible header of named columns, for the header tests.

#include "tree/LazyTreesHeader.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QStringList>

#include <memory>

namespace zfw::test {

struct HeaderFixture {
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();
    TLTHeader& header = tree->Header();
    TLazyTreeColumns& columns = header.Columns();

    // count columns of width columnWidth each, named Alpha, Beta, Gamma, Delta...
    explicit HeaderFixture(int count = 3, int columnWidth = 100, int treeWidth = 400)
    {
        static const char* const names[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};
        tree->setFrameStyle(QFrame::NoFrame);
        tree->resize(treeWidth, 160);
        tree->show();
        QApplication::processEvents();
        for (int i = 0; i < count; ++i) {
            TLazyTreeColumn& c = columns.Add();
            c.SetText(QString::fromLatin1(names[i % 5]));
            c.SetWidth(columnWidth);
        }
        header.SetOptions(header.Options() + TLTHeaderOptions{hoVisible});
        QApplication::processEvents();
    }
    TLazyTreeColumn& col(int index) { return columns[index]; }
    QWidget& band() { return *header.widget(); }
    // The header band as it is painted now.
    QImage render()
    {
        QImage image(band().size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::magenta);
        band().render(&image);
        return image;
    }
    // Nodes with texts "row r col c", for pictures of a whole tree.
    void fillRows(int count)
    {
        tree->OnGetText = [](TBaseLazyTree& t, PLazyNode n, TColumnIndex column, TVSTTextType,
                             QString& text) {
            text = QStringLiteral("row %1 col %2").arg(n->Index).arg(column);
        };
        tree->SetRootNodeCount(std::uint32_t(count));
        QApplication::processEvents();
    }
};

}  // namespace zfw::test
