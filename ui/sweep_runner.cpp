#include "sweep_runner.h"

#include "background_task.h"

TSweepRunner::TSweepRunner(QObject *parent)
    : QObject(parent)
    , m_task(new TBackgroundTask(this))
{
    connect(m_task, &TBackgroundTask::Finished, this, &TSweepRunner::Finished);
}

TSweepRunner::~TSweepRunner()
{
    // The worker uses this object's members: it stops and is waited for while they still stand.
    m_cancel = true;
    delete m_task;
}

bool TSweepRunner::Running() const
{
    return m_task->Running();
}

void TSweepRunner::Start(TOptionTable options, TPileInput base)
{
    if (Running())
        return;
    m_cancel = false;
    m_done = 0;
    m_total = 0;
    m_result.reset();
    m_task->Start([this, options = std::move(options), base = std::move(base)] {
        auto result = RunSweep(options, base, [this](std::int64_t done, std::int64_t total) {
            m_total.store(total, std::memory_order_relaxed);
            m_done.store(done, std::memory_order_relaxed);
            return !m_cancel.load(std::memory_order_relaxed);
        });
        m_result = std::make_unique<TSweepResult>(std::move(result));
    });
}

void TSweepRunner::Wait()
{
    m_task->Wait();
}

TSweepResult TSweepRunner::TakeResult()
{
    TSweepResult result = m_result ? std::move(*m_result) : TSweepResult {};
    m_result.reset();
    return result;
}
