#include "platform/MainThread.h"

#include <QCoreApplication>

namespace orva {

void runOnMainThread(std::function<void()> call, CallbackContext context)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    QMetaObject::invokeMethod(
        app,
        [call = std::move(call), context = std::move(context)] {
            if (!context.isGone())
                call();
        },
        Qt::QueuedConnection);
}

} // namespace orva
