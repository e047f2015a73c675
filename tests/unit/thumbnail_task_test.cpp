// The thumbnail builder with a fake maker and sink: the order it works in,
// and that a stopped build never reaches the list it was building for.
#include "library/core/thumbnail_task.h"

#include "base/thread_priority.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vistrel {
namespace {

std::vector<std::string> Paths(size_t count)
{
    std::vector<std::string> paths;
    for (size_t i = 0; i < count; ++i)
        paths.push_back("file" + std::to_string(i));
    return paths;
}

// A maker whose calls after the first few wait until the test lets them go;
// "bad" names fail.
class FakeMaker final : public ThumbnailMaker {
public:
    std::optional<Bitmap> Make(const std::string& path) override
    {
        std::unique_lock lock(m_mutex);
        made.push_back(path);
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return !m_holdAt || made.size() <= *m_holdAt || m_released; });
        if (path.find("bad") != std::string::npos)
            return std::nullopt;
        return Bitmap(int(made.size()), 1);
    }
    void HoldAfter(size_t calls) { m_holdAt = calls; }
    void Release()
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }
    // Waits until the maker has been called count times.
    bool WaitForCalls(size_t count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return made.size() >= count; });
    }
    std::vector<std::string> made; // guarded by m_mutex while the task runs

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<size_t> m_holdAt;
    bool m_released = false;
};

// Stands for the view's image list: any call once it is discarded is a fault.
class FakeList final : public ThumbnailSink {
public:
    void Built(size_t index, std::optional<Bitmap> thumbnail, int percent) override
    {
        std::lock_guard lock(m_mutex);
        if (discarded)
            ++touchedAfterDiscard;
        rows.push_back(index);
        made.push_back(thumbnail.has_value());
        percents.push_back(percent);
    }
    void Finished() override
    {
        std::lock_guard lock(m_mutex);
        if (discarded)
            ++touchedAfterDiscard;
        finished = true;
        m_done.notify_all();
    }
    bool WaitFinished()
    {
        std::unique_lock lock(m_mutex);
        return m_done.wait_for(lock, std::chrono::seconds(10), [&] { return finished; });
    }
    std::atomic<bool> discarded = false;
    std::atomic<int> touchedAfterDiscard = 0;
    std::vector<size_t> rows;
    std::vector<bool> made;
    std::vector<int> percents;
    bool finished = false;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
};

TEST(NextThumbnailRow, VisibleRowsComeFirstThenTheRestInOrder)
{
    std::vector<bool> done(10, false);
    EXPECT_EQ(NextThumbnailRow(done, {4, 6}), 4u);
    done[4] = done[5] = done[6] = true;
    EXPECT_EQ(NextThumbnailRow(done, {4, 6}), 0u);
    EXPECT_EQ(NextThumbnailRow(done, {}), 0u);
    EXPECT_EQ(NextThumbnailRow(done, {8, 100}), 8u); // a range past the end is cut
    std::fill(done.begin(), done.end(), true);
    EXPECT_EQ(NextThumbnailRow(done, {0, 9}), std::nullopt);
}

TEST(ThumbnailTask, BuildsTheVisibleRowsFirst)
{
    FakeMaker maker;
    FakeList list;
    {
        ThumbnailTask task(Paths(8), {5, 6}, maker, list);
        ASSERT_TRUE(list.WaitFinished());
    }
    EXPECT_EQ(list.rows, (std::vector<size_t>{5, 6, 0, 1, 2, 3, 4, 7}));
    EXPECT_EQ(list.percents.back(), 100);
    EXPECT_EQ(list.percents.front(), 13); // 1 of 8, rounded
}

// The worker yields to the window's thread.
TEST(ThumbnailTask, TheWorkerRunsBelowItsOwnersPriority)
{
    class NiceMaker final : public ThumbnailMaker {
    public:
        std::optional<Bitmap> Make(const std::string&) override
        {
            nice = CurrentThreadNice();
            return std::nullopt;
        }
        std::optional<int> nice;
    } maker;
    FakeList list;
    const auto owner = CurrentThreadNice();
    ASSERT_TRUE(owner);
    if (*owner >= 19)
        GTEST_SKIP() << "the owner already runs at the lowest priority";
    {
        ThumbnailTask task(Paths(1), {}, maker, list);
        ASSERT_TRUE(list.WaitFinished());
    }
    ASSERT_TRUE(maker.nice);
    EXPECT_GT(*maker.nice, *owner);
    EXPECT_EQ(CurrentThreadNice(), owner); // the owner keeps its own
}

TEST(ThumbnailTask, RowsScrolledIntoViewComeNext)
{
    FakeMaker maker;
    maker.HoldAfter(0);
    FakeList list;
    ThumbnailTask task(Paths(10), {0, 1}, maker, list);
    ASSERT_TRUE(maker.WaitForCalls(1)); // row 0 is being made
    task.SetVisibleRows({7, 8});
    maker.Release();
    ASSERT_TRUE(list.WaitFinished());
    task.Wait();
    ASSERT_GE(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[0], 0u);
    EXPECT_EQ(list.rows[1], 7u);
    EXPECT_EQ(list.rows[2], 8u);
}

TEST(ThumbnailTask, AFailedThumbnailIsReportedAndTheTaskGoesOn)
{
    FakeMaker maker;
    FakeList list;
    ThumbnailTask task({"a", "bad", "c"}, {}, maker, list);
    ASSERT_TRUE(list.WaitFinished());
    task.Wait();
    EXPECT_EQ(list.made, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(list.rows, (std::vector<size_t>{0, 1, 2}));
}

TEST(ThumbnailTask, StopsAfterTheCurrentEntryWhenTheFolderChanges)
{
    FakeMaker maker;
    maker.HoldAfter(2);
    FakeList list;
    auto task = std::make_unique<ThumbnailTask>(Paths(100), VisibleRows{}, maker, list);
    ASSERT_TRUE(maker.WaitForCalls(3)); // the third entry is being made
    task->Stop();
    maker.Release();
    task.reset(); // returns once the worker has ended
    EXPECT_EQ(maker.made.size(), 3u);
    EXPECT_EQ(list.rows.size(), 2u); // the entry in hand when stopped is not delivered
    EXPECT_FALSE(list.finished);
}

TEST(ThumbnailTask, ADiscardedListIsNeverTouched)
{
    FakeMaker maker;
    maker.HoldAfter(2);
    FakeList list;
    auto task = std::make_unique<ThumbnailTask>(Paths(50), VisibleRows{}, maker, list);
    ASSERT_TRUE(maker.WaitForCalls(3));
    // The owner's order: stop the task (which waits for its entry), then discard.
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        maker.Release();
    });
    task.reset();
    list.discarded = true;
    releaser.join();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(list.touchedAfterDiscard, 0);
}

TEST(ThumbnailTask, AnEmptyListFinishesAtOnce)
{
    FakeMaker maker;
    FakeList list;
    ThumbnailTask task({}, {}, maker, list);
    ASSERT_TRUE(list.WaitFinished());
    EXPECT_TRUE(list.rows.empty());
}

} // namespace
} // namespace vistrel
