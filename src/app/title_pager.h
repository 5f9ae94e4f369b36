// The main menu's problem-set list: every title found at start-up, shown ten to a page.
#pragma once

#include <string>
#include <vector>

namespace keyrook {

class TitlePager {
public:
    static constexpr int kPageSize = 10;

    // Page 1, Back disabled, Next enabled only when more than one page exists; the first title
    // selected when there is one.
    explicit TitlePager(std::vector<std::string> titles = {});

    const std::vector<std::string>& titles() const { return titles_; }
    int page() const { return page_; }
    bool backEnabled() const { return backEnabled_; }
    bool nextEnabled() const { return nextEnabled_; }
    const std::vector<std::string>& items() const { return items_; }  // titles of this page
    int selected() const { return selected_; }                         // -1: none
    std::string selectedTitle() const;

    // "01", "02", ... "10", "11".
    std::string pageLabel() const;

    // The page operations; each returns whether a title is selected afterwards (the caller
    // then reruns the title selection). Next and Back do nothing while their button is disabled.
    bool next();
    bool back();
    bool up();    // select the title above; false when nothing changed
    bool down();  // select the title below; false when nothing changed
    void select(int index);
    // Selects a title on its page, adding it at the end of the list when it is not there yet
    // (a set written while the program runs).
    void selectTitle(const std::string& title);

private:
    void showItems(int first, int last);

    std::vector<std::string> titles_;
    std::vector<std::string> items_;
    int page_ = 1;
    int selected_ = -1;
    bool backEnabled_ = false;
    bool nextEnabled_ = false;
};

}  // namespace keyrook
