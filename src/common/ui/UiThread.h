#pragma once
// Handing work from a worker thread to the UI thread.
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <functional>

namespace korvan::UiThread {

// A function any thread may call: each call runs `work` later on the thread of `owner` (the UI
// thread), unless `owner` is gone by then.
inline std::function<void()> queued(QObject* owner, std::function<void()> work) {
    return [self = QPointer<QObject>(owner), work = std::move(work)] {
        QMetaObject::invokeMethod(
            self.data(),
            [self, work] {
                if (self)
                    work();
            },
            Qt::QueuedConnection);
    };
}

} // namespace korvan::UiThread
