#include "colour/stored_records_follower.h"

#include "colour/CMonitorTracker.h"

#include <QThread>
#include <QTimer>

void follow_stored_records(CMonitorTracker &records, QObject *context, std::function<void()> refresh)
{
    auto *gathered = new QTimer(context);
    gathered->setSingleShot(true);
    gathered->setInterval(0);
    QObject::connect(gathered, &QTimer::timeout, context, refresh);
    QThread *own = context->thread();
    // Off the context's thread the call only compares threads.
    QObject::connect(
        &records, &CMonitorTracker::data_changed, context,
        [own, refresh] {
            if (QThread::currentThread() == own)
                refresh();
        },
        Qt::DirectConnection);
    QObject::connect(
        &records, &CMonitorTracker::data_changed, gathered,
        [gathered] {
            if (!gathered->isActive())
                gathered->start();
        },
        Qt::QueuedConnection);
}
