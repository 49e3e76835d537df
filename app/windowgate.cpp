#include "app/windowgate.h"

#include <QCoreApplication>
#include <chrono>

namespace lq {

bool WindowGate::Enter() {
    std::lock_guard lock(mutex_);
    if (!open_) return false;
    ++inFlight_;
    return true;
}

void WindowGate::Leave() {
    {
        std::lock_guard lock(mutex_);
        --inFlight_;
    }
    left_.notify_all();
}

bool WindowGate::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

void WindowGate::CloseAndDrain() {
    std::unique_lock lock(mutex_);
    open_ = false;
    while (inFlight_ > 0) {
        // A run that entered may not have posted its call yet: deliver, then look again.
        lock.unlock();
        QCoreApplication::sendPostedEvents();
        lock.lock();
        left_.wait_for(lock, std::chrono::milliseconds(2), [this] { return inFlight_ == 0; });
    }
}

}  // namespace lq
