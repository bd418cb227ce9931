#pragma once
// A window the first frame does not show, made when it is first wanted: the
// start does not pay for the help, the multi-editor or the about box. What
// is to happen to every window (the interface's language) happens to it
// when it is made.

#include <functional>

class QWidget;

namespace qm {

template <typename T> class TLazyWindow {
  public:
    using TMake = std::function<T*()>;
    using TMade = std::function<void(QWidget&)>;

    TLazyWindow(TMake make, TMade made) : make_(std::move(make)), made_(std::move(made)) {}

    // `asBuilt`: a window made now keeps the texts it is built with.
    T& Get(bool asBuilt = false) {
        if (!window_) {
            window_ = make_();
            if (!asBuilt)
                made_(*window_);
        }
        return *window_;
    }
    // The window when it has been made; nullptr before.
    T* IfMade() const { return window_; }

  private:
    TMake make_;
    TMade made_;
    T* window_ = nullptr; // owned by its parent
};

} // namespace qm
