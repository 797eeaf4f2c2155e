#pragma once

#include "opt_options.h"
#include "pile_input.h"
#include "sweep.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <memory>

class TBackgroundTask;

// Runs a sweep on a worker thread, so that the window keeps painting and can offer to cancel. The
// worker takes copies of the options and of the input page; it reports how far it got through two
// counters, and Finished is emitted on the GUI thread once it ended.
class TSweepRunner : public QObject
{
    Q_OBJECT

public:
    explicit TSweepRunner(QObject *parent);
    ~TSweepRunner() override; // cancels a running sweep and waits for it

    void Start(TOptionTable options, TPileInput base);
    bool Running() const;
    // The sweep stops before its next candidate; Finished follows.
    void Cancel() { m_cancel = true; }
    // Candidates calculated so far, and of how many; 0 of 0 until the first report.
    std::int64_t Done() const { return m_done.load(std::memory_order_relaxed); }
    std::int64_t Total() const { return m_total.load(std::memory_order_relaxed); }

    // Blocks until a running sweep has ended and emits Finished at once.
    void Wait();
    // The result of the sweep that finished last.
    TSweepResult TakeResult();

signals:
    void Finished();

private:
    TBackgroundTask *m_task;
    std::atomic<bool> m_cancel = false;
    std::atomic<std::int64_t> m_done = 0;
    std::atomic<std::int64_t> m_total = 0;
    std::unique_ptr<TSweepResult> m_result; // written by the worker, read after it ended
};
