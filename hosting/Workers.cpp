#include "hosting/Workers.h"

#include <windows.h>

#include <algorithm>
#include <deque>
#include <vector>

namespace hosting {
namespace {

struct Worker {
    CONDITION_VARIABLE wake{};
    Work work = nullptr;
    void* argument = nullptr;
};

struct Queued {
    Work work;
    void* argument;
    ULONGLONG since;
};

// Never freed: at the program's end a worker may still wait on a viewer.
struct Pool {
    CRITICAL_SECTION lock{};
    std::vector<Worker*> idle;
    std::deque<Queued> queue;  // waiting for a worker to be done
    ULONGLONG progress = 0;     // when a call last ended, or a thread last started
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

// Under Wine each thread's whole stack, 1 MiB at the least, counts as committed memory
// for as long as the thread lives. So a worker idle for kIdleEnd ends, and a call
// finds one of kSteady threads or waits for one. Only once no call has ended for
// kOverdue (the threads are held up by programs that hang) does the next one get a
// thread of its own: more threads would only queue at a program that is slow.
constexpr DWORD kIdleEnd = 1000;
constexpr unsigned kSteady = 2;
constexpr ULONGLONG kOverdue = 100;

DWORD WINAPI Serve(void* self) {
    auto* worker = static_cast<Worker*>(self);
    Pool& pool = ThePool();
    for (;;) {
        worker->work(worker->argument);
        ::EnterCriticalSection(&pool.lock);
        worker->work = nullptr;
        pool.progress = ::GetTickCount64();
        if (!pool.queue.empty()) {
            worker->work = pool.queue.front().work;
            worker->argument = pool.queue.front().argument;
            pool.queue.pop_front();
            ::LeaveCriticalSection(&pool.lock);
            continue;
        }
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

// Called with the lock held.
bool StartWorker(Pool& pool, Work work, void* argument) {
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
    ++pool.live;
    return true;
}

// Called with the lock held. One thread at a time, each after a wait with no progress.
void StartOverdue(Pool& pool) {
    if (pool.queue.empty()) return;
    const ULONGLONG now = ::GetTickCount64();
    if (now - std::max(pool.progress, pool.queue.front().since) < kOverdue) return;
    const Queued next = pool.queue.front();
    if (!StartWorker(pool, next.work, next.argument)) return;  // runs once a worker is done
    pool.queue.pop_front();
    pool.progress = now;
}

}  // namespace

bool RunOnWorker(Work work, void* argument) {
    Pool& pool = ThePool();
    ::EnterCriticalSection(&pool.lock);
    bool started = true;
    if (!pool.idle.empty()) {
        Worker* worker = pool.idle.back();
        pool.idle.pop_back();
        worker->work = work;
        worker->argument = argument;
        ::WakeConditionVariable(&worker->wake);
    } else if (pool.live < kSteady && StartWorker(pool, work, argument)) {
    } else if (pool.live == 0) {
        started = false;  // no thread to be had: the caller makes the call itself
    } else {
        pool.queue.push_back(Queued{work, argument, ::GetTickCount64()});
        StartOverdue(pool);
    }
    ::LeaveCriticalSection(&pool.lock);
    return started;
}

void StartOverdueWork() {
    Pool& pool = ThePool();
    ::EnterCriticalSection(&pool.lock);
    StartOverdue(pool);
    ::LeaveCriticalSection(&pool.lock);
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
