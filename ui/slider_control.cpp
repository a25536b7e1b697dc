// Sliders: the TBM_ messages, the keys and the wheel, and the paint-time notification.
#include "ui/slider_control.h"

#include <algorithm>

namespace ui {

int SliderControl::PageSize() const {
    return pageSize_ > 0 ? pageSize_ : std::max(1, (rangeMax_ - rangeMin_) / 5);
}

LRESULT SliderControl::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case TBM_GETPOS:
            return pos_;
        case TBM_GETRANGEMIN:
            return rangeMin_;
        case TBM_GETRANGEMAX:
            return rangeMax_;
        case TBM_GETLINESIZE:
            return lineSize_;
        case TBM_SETLINESIZE: {
            const int old = lineSize_;
            lineSize_ = static_cast<int>(lParam);
            return old;
        }
        case TBM_GETPAGESIZE:
            return PageSize();
        case TBM_SETPAGESIZE: {
            const int old = PageSize();
            pageSize_ = static_cast<int>(lParam);
            return old;
        }
        case TBM_SETPOS:
            pos_ = std::clamp(static_cast<int>(lParam), rangeMin_, std::max(rangeMin_, rangeMax_));
            if (wParam)
                Changed();
            return 0;
        case TBM_SETRANGEMIN:
            rangeMin_ = static_cast<int>(lParam);
            pos_ = std::max(pos_, rangeMin_);
            if (wParam)
                Changed();
            return 0;
        case TBM_SETRANGEMAX:
            rangeMax_ = static_cast<int>(lParam);
            pos_ = std::min(pos_, std::max(rangeMin_, rangeMax_));
            if (wParam)
                Changed();
            return 0;
        default:
            return Control::Send(message, wParam, lParam);
    }
}

void SliderControl::UserSetPos(int pos) {
    if (!IsUsable())
        return;
    pos = std::clamp(pos, rangeMin_, std::max(rangeMin_, rangeMax_));
    if (pos == pos_)
        return;
    pos_ = pos;
    Changed();
}

bool SliderControl::UserKey(UINT vk, unsigned modifiers) {
    if (!IsUsable() || (modifiers & (kControl | kAlt)))
        return false;
    switch (vk) {
        case VK_LEFT:
        case VK_UP:
            UserSetPos(pos_ - lineSize_);
            return true;
        case VK_RIGHT:
        case VK_DOWN:
            UserSetPos(pos_ + lineSize_);
            return true;
        case VK_PRIOR:
            UserSetPos(pos_ - PageSize());
            return true;
        case VK_NEXT:
            UserSetPos(pos_ + PageSize());
            return true;
        case VK_HOME:
            UserSetPos(rangeMin_);
            return true;
        case VK_END:
            UserSetPos(rangeMax_);
            return true;
        default:
            return false;
    }
}

void SliderControl::UserWheel(int notches) {
    if (IsUsable() && notches != 0)
        UserSetPos(pos_ + notches * lineSize_);
}

void SliderControl::Paint() {
    needsPaint_ = false;
    NMCUSTOMDRAW draw{};
    draw.hdr.hwndFrom = this;
    draw.hdr.idFrom = static_cast<UINT_PTR>(id_);
    draw.hdr.code = NM_CUSTOMDRAW;
    draw.dwDrawStage = 1;  // before painting
    Parent().Object().SendMessage(WM_NOTIFY, static_cast<WPARAM>(id_),
                                  reinterpret_cast<LPARAM>(&draw));
}

}  // namespace ui
