#pragma once

#include <atomic>

// A value read and written by both the GUI thread and the link thread. Each access is whole and
// race-free; a group of values written by one reply is not updated as a unit (readers act on the
// queued signal that follows the writes, by which time the group is complete).
template<typename T>
class SharedValue
{
public:
    constexpr SharedValue(T value = T{}) noexcept
        : m_value(value)
    {}
    SharedValue(const SharedValue &) = delete;
    SharedValue &operator=(const SharedValue &) = delete;

    operator T() const noexcept { return m_value.load(std::memory_order_acquire); }
    T load() const noexcept { return m_value.load(std::memory_order_acquire); }
    SharedValue &operator=(T value) noexcept
    {
        m_value.store(value, std::memory_order_release);
        return *this;
    }

private:
    std::atomic<T> m_value;
};
