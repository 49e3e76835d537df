// The one gate every window operation of a search run passes. The window closes it when it is
// about to go; after that an operation returns at once and does nothing, so shutting down never
// waits for a run that is blocked in a window operation.
#pragma once

#include <condition_variable>
#include <mutex>

namespace lq {

class WindowGate {
public:
    // Counts an operation in flight; false once the gate is closed.
    bool Enter();
    void Leave();
    bool IsOpen() const;

    // On the GUI thread: closes the gate, then delivers posted calls until no operation is in
    // flight, so a run waiting for its call to be carried out is released.
    void CloseAndDrain();

private:
    mutable std::mutex mutex_;
    std::condition_variable left_;
    bool open_ = true;
    int inFlight_ = 0;
};

}  // namespace lq
