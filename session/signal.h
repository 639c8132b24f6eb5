// A change announced to whoever listens: windows connect a function and keep
// the connection; dropping the connection (or the window that holds it)
// stops the calls. A listener may connect or disconnect others while the
// signal is being sent; those connected meanwhile are called from the next
// send on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace huelinx {

// Ends a listener's calls when it is destroyed or reset.
class Connection {
  public:
    Connection() = default;
    explicit Connection(std::function<void()> drop) : drop_(std::move(drop)) {}
    Connection(Connection&& other) noexcept : drop_(std::exchange(other.drop_, {})) {}
    Connection& operator=(Connection&& other) noexcept {
        if (this != &other) {
            reset();
            drop_ = std::exchange(other.drop_, {});
        }
        return *this;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { reset(); }

    // Whether the connection still holds a listener.
    bool active() const { return static_cast<bool>(drop_); }

    void reset() {
        if (drop_) std::exchange(drop_, {})();
    }

  private:
    std::function<void()> drop_;
};

template <typename... Args> class Signal {
  public:
    using Listener = std::function<void(Args...)>;

    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    // Calls `listener` on every send until the connection goes.
    [[nodiscard]] Connection connect(Listener listener) {
        const std::uint64_t id = ++state_->lastId;
        state_->listeners.push_back({id, std::make_shared<Listener>(std::move(listener))});
        std::weak_ptr<State> weak = state_;
        return Connection([weak, id] {
            if (auto state = weak.lock())
                std::erase_if(state->listeners, [id](const Slot& s) { return s.id == id; });
        });
    }

    // Calls the listeners in the order they connected.
    void send(Args... args) const {
        // A copy, so listeners may connect and disconnect while it runs; one
        // disconnected meanwhile is not called.
        const std::vector<Slot> now = state_->listeners;
        for (const Slot& slot : now) {
            if (!connected(slot.id)) continue;
            (*slot.call)(args...);
        }
    }

    std::size_t listenerCount() const { return state_->listeners.size(); }

  private:
    struct Slot {
        std::uint64_t id;
        std::shared_ptr<Listener> call;
    };
    struct State {
        std::uint64_t lastId = 0;
        std::vector<Slot> listeners;
    };
    bool connected(std::uint64_t id) const {
        for (const Slot& s : state_->listeners)
            if (s.id == id) return true;
        return false;
    }
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace huelinx
