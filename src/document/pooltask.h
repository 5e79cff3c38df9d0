#pragma once

#include <QFuture>
#include <QFutureInterface>
#include <QRunnable>
#include <QThreadPool>

#include <mutex>
#include <type_traits>
#include <utility>

// The lock every task is handed over under; one for all, as a task's own could not be reached
// without reading the task first.
inline std::mutex& poolTaskGate()
{
    static std::mutex gate;
    return gate;
}

// A function run on a thread pool, its result in a future, like QtConcurrent::run. The function
// is handed to the pool thread under a lock of the C++ library, so that ThreadSanitizer sees the
// hand-over: Qt's own locks are out of its sight in an uninstrumented Qt, and what QtConcurrent
// copies across would be reported as a race.
template <typename Function>
class PoolTask : public QRunnable
{
public:
    using Result = std::invoke_result_t<Function&>;

    static QFuture<Result> start(QThreadPool* pool, Function function)
    {
        // Held until the task is in the pool; the pool thread passes it before touching the task.
        const std::lock_guard<std::mutex> handing(poolTaskGate());
        auto* task = new PoolTask(std::move(function));
        // Known to the future, so that waiting for it runs it here if the pool has not yet.
        task->m_interface.setThreadPool(pool);
        task->m_interface.setRunnable(task);
        task->m_interface.reportStarted();
        QFuture<Result> future = task->m_interface.future();
        pool->start(task);
        return future;
    }

    void run() override
    {
        { const std::lock_guard<std::mutex> taken(poolTaskGate()); }
        if (m_interface.isCanceled()) {
            m_interface.reportFinished();
            return;
        }
        Result result = m_function();
        // Handed back under the same lock, which poolResult() takes on the other side.
        const std::lock_guard<std::mutex> handing(poolTaskGate());
        m_interface.reportResult(std::move(result));
        m_interface.reportFinished();
    }

private:
    explicit PoolTask(Function function)
        : m_function(std::move(function))
    {
    }

    Function m_function;
    QFutureInterface<Result> m_interface;
};

// Runs the function on the pool (the global one by default) and returns the future of its result.
template <typename Function>
QFuture<typename PoolTask<Function>::Result>
runInPool(Function function, QThreadPool* pool = QThreadPool::globalInstance())
{
    return PoolTask<Function>::start(pool, std::move(function));
}

// The result of a finished task, taken under the lock it was handed back under.
template <typename Result>
Result poolResult(const QFuture<Result>& future)
{
    const std::lock_guard<std::mutex> taken(poolTaskGate());
    return future.result();
}
