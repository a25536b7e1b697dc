// Static message tables: each entry maps a message (and, for commands and notifications, a control
// id and a notification code) to one member function. Several entries may share a function.
#pragma once

#include <span>
#include <type_traits>

#include "ui/win_defs.h"

class CCmdTarget;

namespace ui {

using MessageInvoker = LRESULT (*)(CCmdTarget& target, WPARAM wParam, LPARAM lParam);

struct MessageEntry {
    UINT message;
    int id;     // control or command id; 0 for messages that carry none
    UINT code;  // notification code (BN_CLICKED, CBN_SELCHANGE, EN_CHANGE, NM_CUSTOMDRAW...)
    MessageInvoker invoke;
};

struct MessageMap {
    const MessageMap* base;
    std::span<const MessageEntry> entries;
};

namespace detail {
template <class F>
struct MemberTraits;
template <class C, class R, class... A>
struct MemberTraits<R (C::*)(A...)> {
    using Class = C;
};
}  // namespace detail

// Adapts a handler to the table. Supported forms: void(), void(UINT, LPARAM) for system commands,
// void(NMHDR*, LRESULT*) for notifications, HCURSOR() for the drag icon.
template <auto F>
LRESULT Bind(CCmdTarget& target, WPARAM wParam, LPARAM lParam) {
    using C = typename detail::MemberTraits<decltype(F)>::Class;
    C& object = static_cast<C&>(target);
    if constexpr (std::is_invocable_v<decltype(F), C&>) {
        using R = std::invoke_result_t<decltype(F), C&>;
        if constexpr (std::is_void_v<R>) {
            (object.*F)();
            return 0;
        } else {
            return reinterpret_cast<LRESULT>((object.*F)());
        }
    } else if constexpr (std::is_invocable_v<decltype(F), C&, NMHDR*, LRESULT*>) {
        LRESULT result = 0;
        (object.*F)(reinterpret_cast<NMHDR*>(lParam), &result);
        return result;
    } else {
        static_assert(std::is_invocable_v<decltype(F), C&, UINT, LPARAM>);
        (object.*F)(static_cast<UINT>(wParam), lParam);
        return 0;
    }
}

}  // namespace ui
