#include "core/Log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <unordered_map>

namespace vantrel {
namespace {
std::atomic<LogSink> g_sink{nullptr};
}  // namespace

void SetLogSink(LogSink sink) { g_sink = sink; }

void Log(const char* format, ...) {
    const LogSink sink = g_sink.load();
    if (sink == nullptr) return;
    char text[401];
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (written < 0) return;
    sink(text);
}

std::string LogName(WindowId window) {
    // Any thread may name a window; handles are never freed here, so the table only grows
    // with the windows this run has logged, which are few.
    static std::mutex lock;
    static auto* numbers = new std::unordered_map<WindowId, unsigned>;
    std::lock_guard<std::mutex> hold(lock);
    const auto found = numbers->try_emplace(window, static_cast<unsigned>(numbers->size() + 1)).first;
    return "w" + std::to_string(found->second);
}

}  // namespace vantrel
