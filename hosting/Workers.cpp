#include "hosting/Workers.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace hosting {
namespace {

struct Worker {
    CONDITION_VARIABLE wake{};
    Work work = nullptr;
    void* argument = nullptr;
};

// Never freed: at the program's end a worker may still wait on a viewer.
struct Pool {
    CRITICAL_SECTION lock{};
    std::vector<Worker*> idle;
    unsigned live = 0;
};

Pool& ThePool() {
    static Pool* pool = [] {
        auto* made = new Pool;
        ::InitializeCriticalSection(&made->lock);
        return made;
    }();
    return *pool;
}

// A worker idle for this long ends: under Wine each thread's whole stack, 1 MiB at
// the least, counts as committed memory for as long as the thread lives.
constexpr DWORD kIdleEnd = 1000;

DWORD WINAPI Serve(void* self) {
    auto* worker = static_cast<Worker*>(self);
    Pool& pool = ThePool();
    for (;;) {
        worker->work(worker->argument);
        ::EnterCriticalSection(&pool.lock);
        worker->work = nullptr;
        pool.idle.push_back(worker);
        while (worker->work == nullptr) {
            if (!::SleepConditionVariableCS(&worker->wake, &pool.lock, kIdleEnd) && worker->work == nullptr) {
                pool.idle.erase(std::remove(pool.idle.begin(), pool.idle.end(), worker), pool.idle.end());
                --pool.live;
                ::LeaveCriticalSection(&pool.lock);
                delete worker;
                return 0;
            }
        }
        ::LeaveCriticalSection(&pool.lock);
    }
}

}  // namespace

bool RunOnWorker(Work work, void* argument) {
    Pool& pool = ThePool();
    ::EnterCriticalSection(&pool.lock);
    if (!pool.idle.empty()) {
        Worker* worker = pool.idle.back();
        pool.idle.pop_back();
        worker->work = work;
        worker->argument = argument;
        ::LeaveCriticalSection(&pool.lock);
        ::WakeConditionVariable(&worker->wake);
        return true;
    }
    ::LeaveCriticalSection(&pool.lock);
    auto* worker = new Worker;
    ::InitializeConditionVariable(&worker->wake);
    worker->work = work;
    worker->argument = argument;
    // A few system calls deep: the program's default stack would be waste.
    HANDLE thread = ::CreateThread(nullptr, 64 * 1024, Serve, worker, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr) {
        delete worker;
        return false;
    }
    ::CloseHandle(thread);
    ::EnterCriticalSection(&pool.lock);
    ++pool.live;
    ::LeaveCriticalSection(&pool.lock);
    return true;
}

unsigned LiveWorkers() {
    Pool& pool = ThePool();
    ::EnterCriticalSection(&pool.lock);
    const unsigned live = pool.live;
    ::LeaveCriticalSection(&pool.lock);
    return live;
}

unsigned BusyWorkers() {
    Pool& pool = ThePool();
    ::EnterCriticalSection(&pool.lock);
    const unsigned busy = pool.live - static_cast<unsigned>(pool.idle.size());
    ::LeaveCriticalSection(&pool.lock);
    return busy;
}

}  // namespace hosting
