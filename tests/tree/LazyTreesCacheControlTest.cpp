// The position cache seen from the control: a finished rebuild arrives through the event loop.

#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTreesWorker.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace zfw::test {
namespace {

using namespace std::chrono_literals;
constexpr auto kWait = 30s;

// ----- the control: the take-over arrives through its event loop ---------------------------

std::unique_ptr<TBaseLazyTree> controlWithRows(const std::shared_ptr<TreeWorker>& worker,
                                               std::uint32_t rows)
{
    auto tree = std::make_unique<TBaseLazyTree>();
    tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree->SetTreeWorker(worker);
    tree->SetRootNodeCount(rows);
    return tree;
}

TEST(TreeCacheControl, TakesTheFinishedRebuildOverFromItsEventLoop)
{
    auto worker = std::make_shared<TreeWorker>();
    auto tree = controlWithRows(worker, 5'000);
    ASSERT_TRUE(worker->waitUntilIdle(kWait));
    QCoreApplication::processEvents();
    const TLazyTreeStates states = tree->TreeStates();
    EXPECT_TRUE(states.contains(tsUseCache));
    EXPECT_FALSE(states.contains(tsValidating));
    EXPECT_FALSE(states.contains(tsValidationNeeded));
    const PLazyNode last = tree->GetLastNoInit();
    EXPECT_EQ(tree->GetDisplayRect(last, NoColumn, false).top(),
              4'999 * tree->DefaultNodeHeight() + tree->OffsetY());
}

// The worker posts its notice to the control; a control destroyed before the notice is handled
// must not receive it.
TEST(TreeCacheControl, ADestroyedControlGetsNoPostedNotice)
{
    auto worker = std::make_shared<TreeWorker>();
    auto tree = controlWithRows(worker, 5'000);
    ASSERT_TRUE(worker->waitUntilIdle(kWait));
    tree.reset();
    QCoreApplication::processEvents();
    auto next = controlWithRows(worker, 3'000);
    ASSERT_TRUE(worker->waitUntilIdle(kWait));
    QCoreApplication::processEvents();
    EXPECT_TRUE(next->TreeStates().contains(tsUseCache));
}

}  // namespace
}  // namespace zfw::test
