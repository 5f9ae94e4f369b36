#include "app/title_pager.h"

#include <algorithm>

namespace keyrook {

TitlePager::TitlePager(std::vector<std::string> titles) : titles_(std::move(titles)) {
    int n = static_cast<int>(titles_.size());
    if (n > kPageSize) {
        nextEnabled_ = true;
        n = kPageSize;
    }
    items_.assign(titles_.begin(), titles_.begin() + n);
    selected_ = n > 0 ? 0 : -1;
}

std::string TitlePager::selectedTitle() const {
    return selected_ >= 0 && selected_ < static_cast<int>(items_.size()) ? items_[selected_]
                                                                           : std::string();
}

std::string TitlePager::pageLabel() const {
    return page_ < 10 ? "0" + std::to_string(page_) : std::to_string(page_);
}

void TitlePager::showItems(int first, int last) {
    first = std::clamp(first, 0, static_cast<int>(titles_.size()));
    last = std::clamp(last, first, static_cast<int>(titles_.size()));
    items_.assign(titles_.begin() + first, titles_.begin() + last);
    // The selection keeps its position; on a shorter page the last entry takes it.
    if (selected_ >= static_cast<int>(items_.size())) selected_ = static_cast<int>(items_.size()) - 1;
}

bool TitlePager::next() {
    if (!nextEnabled_) return false;
    int p = page_ + 1;
    int count = static_cast<int>(titles_.size());
    int last = p * kPageSize;
    if (count <= p * kPageSize) {
        nextEnabled_ = false;
        last = count;
    }
    showItems((p - 1) * kPageSize, last);
    page_ = p;
    backEnabled_ = true;
    return selected_ >= 0;
}

bool TitlePager::back() {
    if (!backEnabled_) return false;
    int p = page_ - 1;
    if (p <= 1) backEnabled_ = false;
    showItems((p - 1) * kPageSize, p * kPageSize);
    page_ = p;
    nextEnabled_ = true;
    return selected_ >= 0;
}

bool TitlePager::up() {
    if (selected_ <= 0) return false;
    --selected_;
    return true;
}

bool TitlePager::down() {
    if (selected_ + 1 >= static_cast<int>(items_.size())) return false;
    ++selected_;
    return true;
}

void TitlePager::select(int index) {
    if (index >= 0 && index < static_cast<int>(items_.size())) selected_ = index;
}

void TitlePager::selectTitle(const std::string& title) {
    auto it = std::find(titles_.begin(), titles_.end(), title);
    if (it == titles_.end()) it = titles_.insert(titles_.end(), title);
    const int index = static_cast<int>(it - titles_.begin());
    const int count = static_cast<int>(titles_.size());
    page_ = index / kPageSize + 1;
    backEnabled_ = page_ > 1;
    nextEnabled_ = count > page_ * kPageSize;
    selected_ = index % kPageSize;
    showItems((page_ - 1) * kPageSize, page_ * kPageSize);
}

}  // namespace keyrook
