#include "LinkEventQueue.h"

namespace korvan {

void LinkEventQueue::push(LinkEvent event) {
    {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    ready_.notify_one();
}

std::deque<LinkEvent> LinkEventQueue::takeAll() {
    std::lock_guard lock(mutex_);
    std::deque<LinkEvent> taken;
    taken.swap(events_);
    return taken;
}

std::deque<LinkEvent> LinkEventQueue::waitAndTakeAll() {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return !events_.empty(); });
    std::deque<LinkEvent> taken;
    taken.swap(events_);
    return taken;
}

std::size_t LinkEventQueue::size() const {
    std::lock_guard lock(mutex_);
    return events_.size();
}

} // namespace korvan
