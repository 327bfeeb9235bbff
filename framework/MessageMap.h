#pragma once
// Per-class message maps: a static table of typed entries per window class,
// chained to the base class's table and searched by CWnd's window procedure.
#include <windows.h>

#include <type_traits>

class CWnd;

namespace fw {

enum class EntryKind : unsigned char {
    End,
    Message,       // window message -> handler
    Command,       // WM_COMMAND with code 0 (menus, accelerators) or BN_CLICKED for idFirst..idLast
    Control,       // WM_COMMAND notification `code` from control idFirst
    Reflect,       // notification `code` reflected back to the control that sent it
    NotifyReflect  // WM_NOTIFY code reflected back to the control
};

using Thunk = LRESULT (*)(CWnd* wnd, UINT msg, WPARAM wp, LPARAM lp);

struct MessageEntry {
    EntryKind kind = EntryKind::End;
    UINT message = 0;  // for Message
    UINT code = 0;     // notification code for Control/Reflect
    UINT idFirst = 0;
    UINT idLast = 0;
    Thunk thunk = nullptr;
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageEntry* entries;  // ends with an End entry
};

template <typename>
struct MemberTraits;
template <typename C, typename R, typename... A>
struct MemberTraits<R (C::*)(A...)> {
    using Class = C;
};

// Calls a handler with the arguments its signature asks for.
template <auto Handler>
LRESULT CallHandler(CWnd* wnd, UINT /*msg*/, WPARAM wp, LPARAM lp) {
    using F = decltype(Handler);
    using C = typename MemberTraits<F>::Class;
    C* self = static_cast<C*>(wnd);
    if constexpr (std::is_invocable_v<F, C*, WPARAM, LPARAM>) {
        if constexpr (std::is_void_v<std::invoke_result_t<F, C*, WPARAM, LPARAM>>) {
            (self->*Handler)(wp, lp);  // void OnX(WPARAM, LPARAM)
            return 0;
        } else {
            return static_cast<LRESULT>((self->*Handler)(wp, lp));  // LRESULT OnX(WPARAM, LPARAM)
        }
    } else if constexpr (std::is_invocable_v<F, C*, UINT, POINT>) {
        POINT pt{static_cast<short>(LOWORD(lp)),
                 static_cast<short>(HIWORD(lp))};  // void OnMouse(UINT flags, POINT)
        (self->*Handler)(static_cast<UINT>(wp), pt);
        return 0;
    } else if constexpr (std::is_invocable_v<F, C*, LPCREATESTRUCT>) {
        return (self->*Handler)(reinterpret_cast<LPCREATESTRUCT>(lp));  // int OnCreate(...)
    } else if constexpr (std::is_invocable_v<F, C*, HDC>) {
        return (self->*Handler)(reinterpret_cast<HDC>(wp));  // BOOL OnEraseBkgnd(HDC)
    } else if constexpr (std::is_invocable_v<F, C*, HWND>) {
        (self->*Handler)(reinterpret_cast<HWND>(wp));  // void OnSetFocus(HWND old)
        return 0;
    } else if constexpr (std::is_invocable_v<F, C*, UINT>) {
        (self->*Handler)(static_cast<UINT>(LOWORD(wp)));  // void OnCommandRange(UINT id)
        return 0;
    } else {
        static_assert(std::is_invocable_v<F, C*>, "unsupported handler signature");
        (self->*Handler)();  // void OnX()
        return 0;
    }
}

template <auto Handler>
constexpr MessageEntry Message(UINT message) {
    return {EntryKind::Message, message, 0, 0, 0, &CallHandler<Handler>};
}
template <auto Handler>
constexpr MessageEntry Command(UINT id) {
    return {EntryKind::Command, 0, 0, id, id, &CallHandler<Handler>};
}
template <auto Handler>
constexpr MessageEntry CommandRange(UINT first, UINT last) {
    return {EntryKind::Command, 0, 0, first, last, &CallHandler<Handler>};
}
template <auto Handler>
constexpr MessageEntry Control(UINT code, UINT id) {
    return {EntryKind::Control, 0, code, id, id, &CallHandler<Handler>};
}
template <auto Handler>
constexpr MessageEntry Reflect(UINT code) {
    return {EntryKind::Reflect, 0, code, 0, 0, &CallHandler<Handler>};
}
template <auto Handler>
constexpr MessageEntry NotifyReflect(UINT code) {
    return {EntryKind::NotifyReflect, 0, code, 0, 0, &CallHandler<Handler>};
}

}  // namespace fw

// In the class body.
#define DECLARE_MESSAGE_MAP()                           \
  public:                                               \
    static const ::fw::MessageMap* GetThisMessageMap(); \
                                                        \
  protected:                                            \
    const ::fw::MessageMap* GetMessageMap() const override;

// In the source file: BEGIN_MESSAGE_MAP(CMine, CWnd) ON_MESSAGE(WM_PAINT, OnPaint) ...
// END_MESSAGE_MAP()
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                \
    const ::fw::MessageMap* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                           \
    }                                                         \
    const ::fw::MessageMap* theClass::GetThisMessageMap() {   \
        using ThisClass = theClass;                           \
        using TheBaseClass = baseClass;                       \
        static const ::fw::MessageEntry entries[] = {
#define END_MESSAGE_MAP()                                                         \
    ::fw::MessageEntry {}                                                         \
    }                                                                             \
    ;                                                                             \
    static const ::fw::MessageMap map{&TheBaseClass::GetThisMessageMap, entries}; \
    return &map;                                                                  \
    }

#define ON_MESSAGE(msg, fn) ::fw::Message<&ThisClass::fn>(msg),
#define ON_COMMAND(id, fn) ::fw::Command<&ThisClass::fn>(id),
#define ON_COMMAND_RANGE(first, last, fn) ::fw::CommandRange<&ThisClass::fn>(first, last),
#define ON_CONTROL(code, id, fn) ::fw::Control<&ThisClass::fn>(code, id),
#define ON_BN_CLICKED(id, fn) ::fw::Control<&ThisClass::fn>(BN_CLICKED, id),
#define ON_CONTROL_REFLECT(code, fn) ::fw::Reflect<&ThisClass::fn>(code),
#define ON_NOTIFY_REFLECT(code, fn) ::fw::NotifyReflect<&ThisClass::fn>(code),
