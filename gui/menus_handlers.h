#pragma once
// An event several parties may handle at once, each removing only its own
// handler: a component that hooks an object's events (a skinning engine taking
// over a menu's drawing) and detaches later never drops the handler the
// object's owner set, nor another party's.
#include <functional>
#include <utility>
#include <vector>

namespace korvel {

template <class... Args>
class THandlerList {
public:
    using THandler = std::function<void(Args...)>;

    // Sets Party's handler, replacing the one Party set before (an empty
    // handler removes it). The object's own handler is the one without a party.
    void Add(const void* party, THandler handler) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it)
            if (it->Party == party) {
                if (handler) it->Handler = std::move(handler);
                else entries_.erase(it);
                return;
            }
        if (handler) entries_.push_back({party, std::move(handler)});
    }
    // Removes Party's handler only; false when Party had none.
    bool Remove(const void* party) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it)
            if (it->Party == party) {
                entries_.erase(it);
                return true;
            }
        return false;
    }
    // The object's own handler (the plain assignment a definition makes).
    THandlerList& operator=(THandler handler) {
        Add(nullptr, std::move(handler));
        return *this;
    }

    bool Assigned() const { return !entries_.empty(); }
    explicit operator bool() const { return Assigned(); }
    bool Has(const void* party) const {
        for (const auto& e : entries_)
            if (e.Party == party) return true;
        return false;
    }
    int Count() const { return static_cast<int>(entries_.size()); }

    // Calls every handler in the order they were added. A handler may add or
    // remove handlers: the call goes to those present when it started.
    void operator()(Args... args) const {
        std::vector<TEntry> copy = entries_;
        for (const auto& e : copy) e.Handler(args...);
    }

private:
    struct TEntry {
        const void* Party;
        THandler Handler;
    };
    std::vector<TEntry> entries_;
};

}  // namespace korvel
