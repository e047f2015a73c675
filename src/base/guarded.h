#pragma once
// Guarded<T>: data and the mutex that guards it in one object, so that the data
// can be reached only while its mutex is held. Lock() returns an accessor that
// holds the mutex for as long as it lives:
//
//   Guarded<std::deque<Job>> m_jobs;
//   auto jobs = m_jobs.Lock();
//   jobs->push_back(job);
//   m_wake.wait(jobs.lock(), [&] { return !jobs->empty(); });
//
// A condition variable waits on the accessor's lock(); while the wait has the
// mutex released, the data is not to be touched (the predicate runs with it held).
//
// Threads: any; Lock() blocks while another accessor of the same object lives.

#include <mutex>
#include <utility>

namespace vistrel {

template <typename T>
class Guarded {
public:
    template <typename U>
    class Access {
    public:
        Access(Access&&) = default;
        Access(const Access&) = delete;
        Access& operator=(const Access&) = delete;
        Access& operator=(Access&&) = delete;

        U& operator*() const { return *m_value; }
        U* operator->() const { return m_value; }
        // For condition variables, which release and take it again while they wait.
        std::unique_lock<std::mutex>& lock() { return m_lock; }

    private:
        friend class Guarded;
        Access(std::mutex& mutex, U& value) : m_lock(mutex), m_value(&value) {}

        std::unique_lock<std::mutex> m_lock;
        U* m_value;
    };

    template <typename... Args>
    explicit Guarded(Args&&... args) : m_value(std::forward<Args>(args)...)
    {
    }
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;

    Access<T> Lock() { return Access<T>(m_mutex, m_value); }
    Access<const T> Lock() const { return Access<const T>(m_mutex, m_value); }

private:
    mutable std::mutex m_mutex;
    T m_value;
};

} // namespace vistrel
