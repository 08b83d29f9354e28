#pragma once

#include <QPointer>

#include <functional>

class QObject;

namespace orva {

// The object a callback belongs to, held without owning it. A callback given
// no context always runs; one given a context runs only while that object
// lives, so a screen that is gone is never called back.
class CallbackContext {
public:
    CallbackContext() = default;
    CallbackContext(QObject* context) : object_(context), hasContext_(context != nullptr) {}

    bool isGone() const { return hasContext_ && object_.isNull(); }
    // The object, or nullptr when there was none or it is gone.
    QObject* object() const { return object_.data(); }

private:
    QPointer<QObject> object_;
    bool hasContext_ = false;
};

// Runs `call` on the main thread from its event loop, unless its context is
// gone by then or the application is. Safe from any thread.
void runOnMainThread(std::function<void()> call, CallbackContext context = {});

} // namespace orva
