// The record viewer's rules: which titles the chosen users have played, the sessions of one
// title with their column texts and deviation scores, sorting by a column, and the detail texts
// of one session. Texts are CP932; the record files are read, never written.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/paths.h"
#include "typing/scoring.h"

namespace keyrook {

// Fields of a session record: 13 values and the checksum.
inline constexpr std::size_t kRecordFields = 14;

// Columns of the record list, numbered from 1 as the header clicks count them.
inline constexpr int kLogColumns = 8;

// One listed session.
struct LogRow {
    int number = 0;                   // 1-based, in the order the rows were added
    bool today = false;               // recorded on today's date
    std::vector<std::string> fields;  // the record line split at its commas, checksum last
    std::string deviation;            // "##.0"

    // Field n (from 1), empty past the last.
    std::string field(std::size_t n) const {
        return n >= 1 && n <= fields.size() ? fields[n - 1] : std::string();
    }

    // Text of column k (1..8): number ("3" or "3*"), session key, name, score, time,
    // mistype rate, max combo, deviation score.
    std::string column(int k) const;
};

// What the detail panel shows for one session.
struct LogDetails {
    std::string lbldate;  // "Date : 20" + field 1
    bool dateWhite = false;  // today's sessions are drawn white, older ones silver
    std::string lblTheme, lblScore, lblTime, lblMiss, lblAverage, lblMaxcombo;
    std::array<std::string, 4> lblResult;  // lblResult1..4
    std::array<int, 4> positions{};        // ProgressBarREX1..4
};

// Field 3 of every line with at least three commas, first spelling kept when titles differ
// only in letter case. Checksums are not tested: a damaged line still names its title.
std::vector<std::string> recordTitles(std::string_view fileText);
// The same added to titles, leaving out those already there.
void addRecordTitles(std::string_view fileText, std::vector<std::string>& titles);

// Fields of the lines that belong in the list for title: valid checksum, 14 fields, the exact
// title, and numbers where the columns need them.
std::vector<std::vector<std::string>> titleSessions(std::string_view fileText,
                                                    std::string_view title);

// Column texts.
std::string sessionTimeText(long long ms);                  // 83500 -> "83.50 秒"
std::string mistypeRateText(long long misses, long long keys);  // "1.186 %"; 0 keys -> "0.000 %"
std::string deviationText(long double value);               // "##.0": 50 -> "50.0", 0.4 -> ".4"

// Mean and sample deviation of the listed scores, from which each row's deviation score
// follows: one score gives "50.0"; equal scores all give "50.0"; otherwise
// (score - mean) / s x 10 + 50.
class DeviationScale {
public:
    DeviationScale() = default;
    explicit DeviationScale(const std::vector<long long>& scores);
    std::string text(long long score) const;

private:
    bool single_ = true;
    long double mean_ = 0;
    long double deviation_ = 1;
};

// Deviation scores of the scores, in the same order.
std::vector<std::string> deviationScores(const std::vector<long long>& scores);

// The number a sort reads from a text: an optional "-", then the leading run of digits and
// "."; 0 when there is none.
long double leadingNumber(std::string_view text);

// Order of rows a and b by column k (1..8), ascending: negative, zero or positive.
int compareLogRows(const LogRow& a, const LogRow& b, int column);

// "yy/mm/dd", the date part of a record's field 1.
std::string recordDateOnly(const DateTime& when);

LogDetails logDetails(const LogRow& row);

inline constexpr const char* kGraphNeedsTwoRows = "ﾃﾞｰﾀは2つ以上ないと結果表示できません。";
inline constexpr const char* kGraphOneUserOnly =
    "ﾕｰｻﾞｰは1人に限ります。複数のﾕｰｻﾞｰﾃﾞｰﾀを同時に見る事はできません。";

class RecordLog;

// The listed rows in their shown order, each put together when it is asked for.
class LogRows {
public:
    class iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = LogRow;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = LogRow;
        iterator(const RecordLog* log, std::size_t place) : log_(log), place_(place) {}
        LogRow operator*() const;
        iterator& operator++() {
            ++place_;
            return *this;
        }
        bool operator==(const iterator& o) const { return place_ == o.place_; }

    private:
        const RecordLog* log_;
        std::size_t place_;
    };

    explicit LogRows(const RecordLog& log) : log_(&log) {}
    std::size_t size() const;
    bool empty() const { return size() == 0; }
    LogRow operator[](std::size_t place) const;
    iterator begin() const { return iterator(log_, 0); }
    iterator end() const { return iterator(log_, size()); }

private:
    const RecordLog* log_;
};

// The viewer's state while it is open: title choices, rows in their shown order, sort state.
// A row is kept as its record line; its column texts are made when they are shown, and a
// column's sort keys once per row when it is first sorted by.
class RecordLog {
public:
    explicit RecordLog(Paths paths);

    // Mouse released over the user list: the title choices of the selected users (CP932
    // names, in list order).
    void lstUserMouseUp(const std::vector<std::string>& selectedUsers);
    const std::vector<std::string>& titles() const { return titles_; }

    // A title chosen: the sessions of that title in the selected users' files, in list and
    // file order, with deviation scores. An empty title changes nothing.
    void cmbTitleChange(const std::vector<std::string>& selectedUsers, const std::string& title,
                        const DateTime& today);

    // Rows in their shown order; what the graphs read.
    LogRows rows() const { return LogRows(*this); }
    std::size_t rowCount() const { return order_.size(); }
    // Text of column k (1..8) of the row at a place (from 0) in the shown order.
    std::string columnText(std::size_t place, int column) const;
    // The session's date and time (field 1) of the row at a place, without splitting the rest.
    std::string_view dateText(std::size_t place) const;
    // The row's number (column 1 without its "*").
    int rowNumber(std::size_t place) const { return static_cast<int>(order_[place]) + 1; }
    // The place of the row with a number, or -1.
    long long placeOf(int number) const;
    LogRow row(std::size_t place) const;

    // Header k (1..8) clicked: the same column again flips the order, another column sorts
    // ascending by it. Rows keep their numbers and texts.
    void lslogColumnClick(int column);
    int sortState() const { return sortState_; }

    // The message that refuses the graphs, or nullopt when they may open.
    std::optional<std::string> graphRefusal(std::size_t selectedUsers) const;

private:
    using Fields = std::array<std::string_view, kRecordFields>;

    Fields fieldsOf(std::uint32_t index) const;
    std::string textOf(std::uint32_t index, int column) const;
    bool isToday(const Fields& f) const;
    void addSessions(const std::string& path, const std::string& title);
    void computeKeys(int column);

    Paths paths_;
    std::vector<std::string> titles_;
    std::string lines_;                   // the listed record lines, one after another
    std::vector<std::uint64_t> starts_;   // where each line begins in lines_, then its end
    std::vector<long long> scores_;       // field 9 of each row, in the order added
    std::vector<std::uint32_t> order_;    // rows (by the order added) in their shown order
    std::string todayText_;
    DeviationScale scale_;
    // Sort keys per column, made when the column is first sorted by; the name column holds
    // each name's rank in the locale's order.
    std::array<std::vector<long double>, kLogColumns + 1> keys_;
    int sortState_ = 0;
};

}  // namespace keyrook
