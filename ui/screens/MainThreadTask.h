#pragma once

#include <QMetaObject>
#include <QObject>
#include <utility>

namespace tallowmere {

// Starts a workflow the way a button does: `work` runs on the main thread on a later turn
// of the event loop, so the handler returns at once and the screen can move on. Nothing
// runs when `context` (the model) is gone by then.
template <typename Work>
void startMainThreadTask(QObject* context, Work&& work) {
    QMetaObject::invokeMethod(context, std::forward<Work>(work), Qt::QueuedConnection);
}

}  // namespace tallowmere
