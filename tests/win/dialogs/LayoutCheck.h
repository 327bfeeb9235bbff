// The finished-layout check every dialog test shares: each item inside the
// dialog, no two visible items over one another (a group box and the items
// inside it excepted), and every text measured with the item's own font
// (DrawText with DT_CALCRECT, word-wrapped where the item wraps) within the
// room the item gives it. Returns the problems found, each naming the place,
// the item and both sizes; ExpectFinishedLayout turns them into failures.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "controls/LinkStatic.h"
#include "framework/Wnd.h"

namespace layout {

inline std::string ClassOf(HWND item) {
    char kind[64] = "";
    ::GetClassNameA(item, kind, sizeof kind);
    return kind;
}

inline std::string TextOf(HWND item) {
    const int length = ::GetWindowTextLengthA(item);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(item, text.data(), length + 1)));
    return text;
}

// The size `text` takes in `font`; `wrapWidth` > 0 word-wraps at that width.
inline SIZE Measure(HWND item, HFONT font, const std::string& text, UINT format,
                    int wrapWidth = 0) {
    HDC dc = ::GetDC(item);
    HGDIOBJ old =
        ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
    RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
                format | DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : 0));
    ::SelectObject(dc, old);
    ::ReleaseDC(item, dc);
    return {r.right - r.left, r.bottom - r.top};
}

inline bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Room a button's box or frame takes from its text, in pixels.
constexpr int kPushFrame = 8;     // 4 pixels each side
constexpr int kCheckBox = 18;     // the 13-pixel box and the gap before the text
constexpr int kGroupMargin = 16;  // the caption starts inside the frame and ends before it
constexpr int kListMargin = 4;    // a list entry's inner margins

struct Item {
    HWND wnd;
    int id;
    RECT rect;  // in dialog client coordinates
    bool visible, groupBox;
};

// `where`: language and dialog, named in every problem.
inline std::vector<std::string> CheckLayout(HWND dialog, const std::string& where) {
    std::vector<std::string> problems;
    auto report = [&](int id, const std::string& what) {
        std::ostringstream out;
        out << where << ": control " << id << ": " << what;
        problems.push_back(out.str());
    };
    auto tooSmall = [&](int id, const std::string& text, const char* what, int needed, int room) {
        std::ostringstream out;
        out << "\"" << text << "\" " << what << " " << needed << " px, has " << room << " px";
        report(id, out.str());
    };

    RECT client{};
    ::GetClientRect(dialog, &client);
    std::vector<Item> items;
    for (HWND wnd = ::GetWindow(dialog, GW_CHILD); wnd; wnd = ::GetWindow(wnd, GW_HWNDNEXT)) {
        const LONG style = ::GetWindowLongA(wnd, GWL_STYLE);
        const std::string kind = ClassOf(wnd);
        Item item{wnd,
                  ::GetDlgCtrlID(wnd),
                  {},
                  (style & WS_VISIBLE) != 0,
                  kind == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX};
        ::GetWindowRect(wnd, &item.rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&item.rect), 2);
        if (item.visible && !Contains(client, item.rect)) report(item.id, "leaves the dialog");
        items.push_back(item);

        RECT area{};
        ::GetClientRect(wnd, &area);
        const int width = area.right, height = area.bottom;
        HFONT font = reinterpret_cast<HFONT>(::SendMessageA(wnd, WM_GETFONT, 0, 0));
        const std::string text = TextOf(wnd);

        const bool combo = kind == "ComboBox";
        if (combo || kind == "ListBox") {  // the widest entry against the list's width
            const UINT countMsg = combo ? CB_GETCOUNT : LB_GETCOUNT;
            const UINT lengthMsg = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
            const UINT textMsg = combo ? CB_GETLBTEXT : LB_GETTEXT;
            const int room = width - (combo ? ::GetSystemMetrics(SM_CXVSCROLL) : 0) - kListMargin;
            const int count = static_cast<int>(::SendMessageA(wnd, countMsg, 0, 0));
            for (int i = 0; i < count; ++i) {
                const int length = static_cast<int>(::SendMessageA(wnd, lengthMsg, i, 0));
                if (length <= 0) continue;
                std::string entry(static_cast<size_t>(length) + 1, '\0');
                ::SendMessageA(wnd, textMsg, i, reinterpret_cast<LPARAM>(entry.data()));
                entry.resize(static_cast<size_t>(length));
                const SIZE size = Measure(wnd, font, entry, DT_NOPREFIX | DT_SINGLELINE);
                if (size.cx > room) tooSmall(item.id, entry, "entry needs", size.cx, room);
            }
            continue;
        }
        if (text.empty()) continue;
        if (kind == "Button") {
            const LONG type = style & BS_TYPEMASK;
            if (type == BS_OWNERDRAW) continue;  // draws a picture, not its text
            const UINT format = DT_SINGLELINE;
            const SIZE size = Measure(wnd, font, text, format);
            if (type == BS_GROUPBOX) {
                if (size.cx > width - kGroupMargin)
                    tooSmall(item.id, text, "caption needs", size.cx, width - kGroupMargin);
                continue;
            }
            const bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ||
                             type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
                             type == BS_3STATE || type == BS_AUTO3STATE;
            const int room = width - (box ? kCheckBox : kPushFrame);
            if (size.cx > room) tooSmall(item.id, text, "needs", size.cx, room);
            if (size.cy > height) tooSmall(item.id, text, "is high", size.cy, height);
            continue;
        }
        if (kind != "Static") continue;  // edit fields scroll, pickers draw their own
        const LONG type = style & SS_TYPEMASK;
        const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
        if (auto* link = dynamic_cast<CLinkStatic*>(CWnd::FromHandlePermanent(wnd))) {
            // Draws itself with its own font, line by line, without wrapping.
            const SIZE size = Measure(wnd, link->GetPaintFont(), text, 0);
            if (size.cx > width) tooSmall(item.id, text, "needs", size.cx, width);
            if (size.cy > height) tooSmall(item.id, text, "is high", size.cy, height);
            continue;
        }
        const bool wraps =
            (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) && !(style & SS_CENTERIMAGE);
        if (!wraps && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP && !(style & SS_CENTERIMAGE))
            continue;  // pictures, frames, owner drawn
        const SIZE line = Measure(wnd, font, text, prefix | (wraps ? 0 : DT_SINGLELINE));
        if (wraps) {
            const SIZE wrapped = Measure(wnd, font, text, prefix, width);
            if (wrapped.cx > width)
                tooSmall(item.id, text, "has a word that needs", wrapped.cx, width);
            if (wrapped.cy > height) {
                std::ostringstream what;
                what << "(" << line.cx << " px wide in one line) wraps to a height of";
                tooSmall(item.id, text, what.str().c_str(), wrapped.cy, height);
            }
        } else {
            if (line.cx > width) tooSmall(item.id, text, "needs", line.cx, width);
            if (line.cy > height) tooSmall(item.id, text, "is high", line.cy, height);
        }
    }

    for (size_t i = 0; i < items.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            const Item &a = items[i], &b = items[j];
            if (!a.visible || !b.visible) continue;  // hidden on purpose by the dialog
            RECT overlap{};
            if (!::IntersectRect(&overlap, &a.rect, &b.rect)) continue;
            if (a.groupBox && !b.groupBox && Contains(a.rect, b.rect)) continue;
            if (b.groupBox && !a.groupBox && Contains(b.rect, a.rect)) continue;
            std::ostringstream what;
            what << "overlaps control " << b.id << " by " << overlap.right - overlap.left << " x "
                 << overlap.bottom - overlap.top << " px";
            report(a.id, what.str());
        }
    }
    return problems;
}

inline void ExpectFinishedLayout(HWND dialog, const std::string& where) {
    for (const std::string& problem : CheckLayout(dialog, where)) ADD_FAILURE() << problem;
}

}  // namespace layout
