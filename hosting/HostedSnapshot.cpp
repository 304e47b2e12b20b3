#include "hosting/HostedSnapshot.h"

#include <algorithm>
#include <atomic>

namespace hosting::snapshot {
namespace {

constexpr std::size_t kCapacity = 2048;  // far more windows than anyone hosts

// Two buffers: the writer fills the one not published, then publishes it. A reader
// that a second publication overtook (its buffer written again meanwhile) sees the
// sequence move and reads again.
struct Buffer {
    Entry entries[kCapacity];
    std::size_t count = 0;
};
Buffer s_buffers[2];
std::atomic<unsigned> s_sequence{0};  // even: steady; odd: a buffer is being written
std::atomic<int> s_published{0};

}  // namespace

void Publish(const std::vector<Entry>& entries) {
    const int next = 1 - s_published.load();
    s_sequence.fetch_add(1);
    Buffer& buffer = s_buffers[next];
    buffer.count = std::min(entries.size(), kCapacity);
    std::copy_n(entries.begin(), buffer.count, buffer.entries);
    s_published.store(next);
    s_sequence.fetch_add(1);
}

std::size_t Read(Entry* out, std::size_t capacity) {
    std::size_t count = 0;
    // A few tries; the last one is taken whatever happened meanwhile (the writer may
    // be the thread that crashed, halfway through).
    for (int attempt = 0; attempt < 4; ++attempt) {
        const unsigned before = s_sequence.load();
        const Buffer& buffer = s_buffers[s_published.load()];
        count = std::min(std::min(buffer.count, kCapacity), capacity);
        std::copy_n(buffer.entries, count, out);
        if (before % 2 == 0 && s_sequence.load() == before) break;
    }
    return count;
}

}  // namespace hosting::snapshot
