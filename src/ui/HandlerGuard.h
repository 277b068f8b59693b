#pragma once

#include <QString>
#include <functional>

class DialogService;

// Runs event handlers so that an error escaping one ends only that handler: its text is shown
// in the standard error box and the program goes on. The silent cancellation shows nothing.
class HandlerGuard {
public:
    explicit HandlerGuard(DialogService& dialogs) : dialogs_(dialogs) {}

    // True when the handler ran to its end.
    bool run(const std::function<void()>& handler) const noexcept;

    // The handler as a slot that runs inside the guard.
    template <class Handler> auto wrap(Handler handler) const {
        return [this, handler] { run(handler); };
    }

private:
    void report(const QString& text) const noexcept;

    DialogService& dialogs_;
};
