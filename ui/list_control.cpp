// Drop-down lists: the CB_ messages, and the keys, wheel and typed letters that choose a row.
#include "ui/list_control.h"

#include <algorithm>
#include <cstdint>

namespace ui {
namespace {

char16_t FoldCase(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool StartsWithNoCase(const std::u16string& text, const std::u16string& prefix) {
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (FoldCase(text[i]) != FoldCase(prefix[i]))
            return false;
    return true;
}

bool LessNoCase(const std::u16string& a, const std::u16string& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
}

}  // namespace

void ListControl::ShowRow(int row) {
    curSel_ = row;
    text_ = row >= 0 ? rows_[static_cast<std::size_t>(row)] : CString();
    Changed();
}

LRESULT ListControl::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case CB_GETCOUNT:
            return static_cast<LRESULT>(rows_.size());
        case CB_GETCURSEL:
            return curSel_;
        case CB_SETCURSEL: {
            const auto index = static_cast<std::intptr_t>(static_cast<int>(wParam));
            const bool inRange = index >= 0 && index < static_cast<std::intptr_t>(rows_.size());
            ShowRow(inRange ? static_cast<int>(index) : -1);
            return inRange ? index : CB_ERR;
        }
        case CB_GETLBTEXTLEN: {
            const auto index = static_cast<std::size_t>(wParam);
            return index < rows_.size() ? rows_[index].GetLength() : CB_ERR;
        }
        case CB_GETLBTEXT: {
            const auto index = static_cast<std::size_t>(wParam);
            if (index >= rows_.size())
                return CB_ERR;
            *reinterpret_cast<CString*>(lParam) = rows_[index];
            return rows_[index].GetLength();
        }
        case CB_ADDSTRING: {
            CString row(reinterpret_cast<const char16_t*>(lParam));
            auto at = rows_.end();
            if (style_ & CBS_SORT)
                at = std::upper_bound(rows_.begin(), rows_.end(), row,
                                      [](const CString& a, const CString& b) {
                                          return LessNoCase(a.Str(), b.Str());
                                      });
            const auto index = at - rows_.begin();
            rows_.insert(at, std::move(row));
            if (curSel_ >= index)
                ++curSel_;
            Changed();
            return index;
        }
        case CB_RESETCONTENT:
            rows_.clear();
            ShowRow(-1);
            return 0;
        case CB_SELECTSTRING: {
            const std::u16string prefix(reinterpret_cast<const char16_t*>(lParam));
            const int count = static_cast<int>(rows_.size());
            const int start = static_cast<int>(wParam);  // -1: from the top
            for (int k = 0; k < count; ++k) {
                const int i = (start + 1 + k) % count;
                if (StartsWithNoCase(rows_[static_cast<std::size_t>(i)].Str(), prefix)) {
                    ShowRow(i);
                    return i;
                }
            }
            return CB_ERR;
        }
        default:
            return Control::Send(message, wParam, lParam);
    }
}

void ListControl::UserSelectRow(int row) {
    if (!IsUsable() || row < 0 || row >= static_cast<int>(rows_.size()) || row == curSel_)
        return;
    ShowRow(row);
    Notify(CBN_SELCHANGE);
}

bool ListControl::UserKey(UINT vk, unsigned modifiers) {
    if (!IsUsable() || (modifiers & (kControl | kAlt)))
        return false;
    const int last = static_cast<int>(rows_.size()) - 1;
    int row = curSel_;
    switch (vk) {
        case VK_UP:
        case VK_LEFT:
            row = std::max(0, curSel_ - 1);
            break;
        case VK_DOWN:
        case VK_RIGHT:
            row = std::min(last, curSel_ + 1);
            break;
        case VK_HOME:
            row = 0;
            break;
        case VK_END:
            row = last;
            break;
        case VK_PRIOR:
            row = std::max(0, curSel_ - 8);
            break;
        case VK_NEXT:
            row = std::min(last, curSel_ + 8);
            break;
        default:
            return false;
    }
    UserSelectRow(row);
    return true;
}

bool ListControl::UserTypeChar(char16_t ch) {
    if (!IsUsable())
        return false;
    const int count = static_cast<int>(rows_.size());
    for (int k = 1; k <= count; ++k) {
        const int row = (std::max(curSel_, -1) + k + count) % count;
        const std::u16string& text = rows_[static_cast<std::size_t>(row)].Str();
        if (!text.empty() && FoldCase(text[0]) == FoldCase(ch)) {
            UserSelectRow(row);
            return true;
        }
    }
    return false;
}

void ListControl::UserWheel(int notches) {
    if (!IsUsable() || notches == 0 || rows_.empty() || Parent().FocusedControl() != this)
        return;
    const int last = static_cast<int>(rows_.size()) - 1;
    UserSelectRow(curSel_ < 0 ? (notches > 0 ? 0 : last) : std::clamp(curSel_ + notches, 0, last));
}

}  // namespace ui
