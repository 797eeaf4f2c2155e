#pragma once

#include <QObject>

#include <functional>

class QThread;

// Runs one piece of work at a time on a worker thread, so that the window keeps painting while a
// long sweep or a large file is made. The work touches no widget; Finished is emitted on the GUI
// thread once it has ended.
class TBackgroundTask : public QObject
{
    Q_OBJECT

public:
    explicit TBackgroundTask(QObject *parent);
    ~TBackgroundTask() override; // waits for running work, without Finished

    // Ignored while work runs.
    void Start(std::function<void()> work);
    bool Running() const { return m_thread != nullptr; }
    // Blocks until running work has ended and emits its Finished at once (tests, measurements).
    void Wait();

signals:
    void Finished();

private:
    void Deliver(unsigned generation);

    QThread *m_thread = nullptr;
    // Of the work started last, so that a late notice of earlier work is ignored.
    unsigned m_generation = 0;
};
