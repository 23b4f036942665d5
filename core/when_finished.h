#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <exception>
#include <type_traits>
#include <utility>

// Calls handler on the context's thread once future finishes, like
// QFuture::then(context, …), but a context destroyed first simply drops the
// call (then() asserts on that in Qt 6.4).
//
// A handler taking the QFuture sees failures and can read their exception; a
// handler taking the value is called only for a result, as then() would.
template <typename T, typename Handler>
void whenFinished(QFuture<T> future, QObject* context, Handler&& handler)
{
    auto* watcher = new QFutureWatcher<T>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, handler = std::forward<Handler>(handler)]() mutable {
                         watcher->deleteLater();
                         QFuture<T> done = watcher->future();
                         if constexpr (std::is_invocable_v<Handler&, QFuture<T>>) {
                             if (done.isCanceled()) {
                                 // Only a failure reaches the handler; a plain cancel ends here.
                                 try {
                                     done.waitForFinished();
                                     return;
                                 } catch (...) {
                                 }
                             }
                             handler(std::move(done));
                         } else {
                             if (done.isCanceled() || done.resultCount() == 0) return;
                             handler(done.result());
                         }
                     });
    watcher->setFuture(std::move(future));
}
