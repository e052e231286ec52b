// A tree header stream, as a tree user might keep one in a file: loading either fails with a
// message and leaves the header's options as they were, or succeeds with a position array that
// is a permutation of the columns; what was loaded saves to bytes that load and save back the
// same.

#include "FuzzSupport.h"

#include "tree/LazyTreesHeader.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QBuffer>

#include <vector>

namespace {

using namespace zfw;

// The header lives on a tree widget, which needs an application object; the replay test runs
// without one, so the first input makes it (off screen).
void ensureApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_tree_header_stream";
    static char* argv[] = {name, nullptr};
    // Kept until the process ends: destroyed among the statics it would outlive Qt's own.
    new QApplication(argc, argv);
}

QByteArray saved(const TLTHeader& header)
{
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    header.SaveToStream(out);
    return out.data();
}

bool load(TLTHeader& header, const QByteArray& bytes, QString& error)
{
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    return header.LoadFromStream(in, &error);
}

// Both trees of a round trip start alike, so that widths fitted to the client agree.
void prepare(TLazyStringTree& tree)
{
    tree.resize(300, 200);
    tree.Header().Columns().Add().SetText("kept");
    tree.Header().SetOptions(TLTHeaderOptions{hoVisible, hoDrag});
}

void checkPositions(TLazyTreeColumns& columns)
{
    const std::vector<TColumnIndex> array = columns.PositionToIndex();
    ZFW_FUZZ_CHECK(int(array.size()) == columns.Count());
    std::vector<bool> seen(array.size(), false);
    for (std::size_t p = 0; p < array.size(); ++p) {
        ZFW_FUZZ_CHECK(array[p] >= 0 && array[p] < columns.Count());
        ZFW_FUZZ_CHECK(!seen[std::size_t(array[p])]);
        seen[std::size_t(array[p])] = true;
        ZFW_FUZZ_CHECK(columns[array[p]].Position() == p);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureApplication();
    const QByteArray bytes = zfw::fuzz::bytesOf(data, size);
    TLazyStringTree tree;
    prepare(tree);
    TLTHeader& header = tree.Header();
    QString error;
    if (!load(header, bytes, error)) {
        ZFW_FUZZ_CHECK(!error.isEmpty());
        ZFW_FUZZ_CHECK(header.Options() == (TLTHeaderOptions{hoVisible, hoDrag}));
        ZFW_FUZZ_CHECK(header.Columns().Count() == 1);
        return 0;
    }
    checkPositions(header.Columns());
    ZFW_FUZZ_CHECK(header.MainColumn() < header.Columns().Count());
    ZFW_FUZZ_CHECK(header.SortColumn() < header.Columns().Count());
    const QByteArray once = saved(header);
    TLazyStringTree again;
    prepare(again);
    ZFW_FUZZ_CHECK(load(again.Header(), once, error));
    checkPositions(again.Header().Columns());
    ZFW_FUZZ_CHECK(saved(again.Header()) == once);
    return 0;
}
