#pragma once
// Where the time of the captures goes, summed per step into CaptureCounts.

#include <chrono>
#include <cstdint>

namespace vantrel {

// Adds the time from its making to its end to a sum of microseconds.
class Stopwatch {
public:
    explicit Stopwatch(std::uint64_t& sum) : m_sum(sum), m_start(std::chrono::steady_clock::now()) {}
    ~Stopwatch() {
        m_sum += static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - m_start).count());
    }
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;

private:
    std::uint64_t& m_sum;
    std::chrono::steady_clock::time_point m_start;
};

}  // namespace vantrel
