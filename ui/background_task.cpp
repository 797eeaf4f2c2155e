#include "background_task.h"

#include <QThread>

TBackgroundTask::TBackgroundTask(QObject *parent)
    : QObject(parent)
{ }

TBackgroundTask::~TBackgroundTask()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void TBackgroundTask::Start(std::function<void()> work)
{
    if (m_thread)
        return;
    const unsigned generation = ++m_generation;
    m_thread = QThread::create(std::move(work));
    connect(m_thread, &QThread::finished, this, [this, generation] { Deliver(generation); });
    m_thread->start();
}

void TBackgroundTask::Wait()
{
    if (m_thread)
        Deliver(m_generation);
}

void TBackgroundTask::Deliver(unsigned generation)
{
    if (!m_thread || generation != m_generation)
        return;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    emit Finished();
}
