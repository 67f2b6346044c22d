// SPDX-License-Identifier: MIT
// Event handlers that do not let an exception end the program: the error is shown as an error
// box with its text over the handler's window, and the program goes on.
#pragma once

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

class QWidget;

namespace ps::ui {

/// Shows the error box for an exception that reached an event handler.
void ShowHandlerException(const QWidget* owner, const std::exception& error);
/// The same for an exception that is not a std::exception.
void ShowUnknownHandlerException(const QWidget* owner);

/// Runs a handler; an exception is shown and swallowed. True when the handler returned.
bool RunGuarded(const QWidget* owner, const std::function<void()>& handler);

/// A slot that runs `handler` guarded, for connect(): Guarded(this, [this] { ... }).
template <typename THandler>
auto Guarded(const QWidget* owner, THandler handler) {
    // Signal arguments the handler does not take (clicked's checked flag) are dropped.
    return [owner, handler = std::move(handler)](auto&&... args) {
        RunGuarded(owner, [&] {
            if constexpr (std::is_invocable_v<const THandler&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        });
    };
}

}  // namespace ps::ui
