#include "base/guarded.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>
#include <type_traits>
#include <vector>

using namespace vistrel;
using namespace std::chrono_literals;

// A const object gives read-only access.
static_assert(std::is_const_v<std::remove_reference_t<decltype(*std::declval<const Guarded<int>&>().Lock())>>);
static_assert(!std::is_const_v<std::remove_reference_t<decltype(*std::declval<Guarded<int>&>().Lock())>>);

TEST(Guarded, UpdatesFromManyThreadsAreNotLost)
{
    Guarded<long> total(0L);
    std::vector<std::jthread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&total] {
            for (int i = 0; i < 2000; ++i) {
                auto value = total.Lock();
                const long read = *value;
                std::this_thread::yield(); // another thread would come in here, were it not locked out
                *value = read + 1;
            }
        });
    threads.clear(); // joins
    EXPECT_EQ(*std::as_const(total).Lock(), 8000);
}

TEST(Guarded, AnotherLockWaitsWhileAnAccessorLives)
{
    Guarded<std::vector<int>> data;
    std::atomic<bool> gotIt{false};
    std::jthread other;
    {
        auto held = data.Lock();
        held->push_back(1);
        other = std::jthread([&] {
            auto mine = data.Lock();
            mine->push_back(2);
            gotIt = true;
        });
        std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(gotIt.load());
        EXPECT_EQ(held->size(), 1u);
    }
    other.join();
    EXPECT_TRUE(gotIt.load());
    EXPECT_EQ(*data.Lock(), (std::vector<int>{1, 2}));
}

TEST(Guarded, ConditionVariableWaitsOnTheAccessorsLock)
{
    Guarded<int> value(0);
    std::condition_variable changed;
    std::jthread producer([&] {
        for (int i = 1; i <= 5; ++i) {
            *value.Lock() = i; // only possible while the waiter has released the mutex
            changed.notify_all();
        }
    });
    auto seen = value.Lock();
    const bool reached = changed.wait_for(seen.lock(), 10s, [&] { return *seen == 5; });
    EXPECT_TRUE(reached);
    EXPECT_TRUE(seen.lock().owns_lock());
    EXPECT_EQ(*seen, 5);
}
