// keyrook-tool: command line for problem-set authors over the program's core. Text on stdin,
// stdout and in the editor file is UTF-8; the core works in CP932.
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp932.h"
#include "base/files.h"
#include "base/line_reader.h"
#include "problemsets/encoder.h"
#include "problemsets/kana_matcher.h"
#include "problemsets/maker_convert.h"
#include "problemsets/maker_readings.h"
#include "problemsets/reading_suggester.h"
#include "problemsets/reading_decoder.h"
#include "problemsets/romaji_decoder.h"
#include "problemsets/romaji_matcher.h"
#include "problemsets/variant_table.h"
#include "records/progress.h"
#include "records/class_report.h"
#include "records/key_analysis.h"
#include "records/weak_key_set.h"
#include "settings/variant_settings.h"
#include "typing/key_stats.h"
#include "typing/record_file.h"
#include "typing/scoring.h"

namespace {

using namespace keyrook;

constexpr int kOk = 0;
constexpr int kProblems = 1;
constexpr int kUsageError = 2;

const char kUsage[] =
    "usage:\n"
    "  keyrook-tool encode\n"
    "      readings in hiragana -> code strings\n"
    "  keyrook-tool romaji [--preset roman|hepburn] [--ini FILE] [--plain]\n"
    "      code strings -> romaji; default spellings are item 0 of every group,\n"
    "      --ini takes the spelling lists and choices from a user's settings file,\n"
    "      --preset applies the roman or Hepburn preset (after --ini),\n"
    "      --plain returns every line unchanged (English-type set)\n"
    "  keyrook-tool type [--flexible] [--preset roman|hepburn | --ini FILE] [--lc]\n"
    "      lines CODE<TAB>KEYS -> JUDGEMENTS<TAB>REMAINING<TAB>BYTES: one letter per key\n"
    "      (H hit, M miss, . after the question was complete), the romaji still to type,\n"
    "      the byte count of the question's row (- while incomplete); --flexible accepts\n"
    "      every valid spelling, --lc shows the romaji in lower case\n"
    "  keyrook-tool type --kana\n"
    "      the same on the JIS kana layout: lines CODE<TAB>KEYS -> JUDGEMENTS<TAB>REMAINING\n"
    "      <TAB>COUNT; each character of KEYS is one press: a key's kana legend, a shifted\n"
    "      key as what it types (ぁぃぅぇぉゃゅょを っ 、。・「」), ゛ and ゜ for the mark keys, ー,\n"
    "      0-9 ! ? for full-width digits and signs, a blank or _ for the space bar;\n"
    "      REMAINING the presses still due, COUNT the question's presses (- while due)\n"
    "  keyrook-tool yomi [--plain]\n"
    "      code strings -> readings in hiragana\n"
    "  keyrook-tool reading [--dicdir DIR]\n"
    "      question lines -> suggested readings in hiragana (MeCab with the IPA\n"
    "      dictionary, mecab-ipadic-utf8; --dicdir names the dictionary's folder)\n"
    "  keyrook-tool convert [--english] [--fill-readings [--dicdir DIR]] --title T --author A\n"
    "                       --description D EDITOR_FILE DATA_DIR\n"
    "      converts the maker's editor text (one editor line per line) and writes\n"
    "      DATA_DIR/T.std; on problems prints the error list, writes nothing, exits 1;\n"
    "      --fill-readings first fills every empty reading line with its suggestion\n"
    "  keyrook-tool records FILE\n"
    "      prints \"ok \" or \"bad \" and each record line of a user's .rec file,\n"
    "      by whether its checksum holds\n"
    "  keyrook-tool progress [--by day|week|month] [--title T] FILE\n"
    "      CSV of a user's .rec file by day (YYYY-MM-DD), ISO week (YYYY-Www, the\n"
    "      default) or month (YYYY-MM): sessions, best score, median speed and\n"
    "      median miss rate of the practice records whose checksum holds (of\n"
    "      title T only with --title), oldest period first\n"
    "  keyrook-tool class-report USER_DIR\n"
    "      CSV for a spreadsheet: per user of USER_DIR/user.log and title of their .rec\n"
    "      file the sessions, first and last date, best score, and the medians of speed\n"
    "      and mistype rate over the last 10 sessions; damaged lines are counted on stderr\n"
    "  keyrook-tool weak-keys [--last N] FILE.kst\n"
    "      the keys missed in the last N sessions of a .kst file (all without --last),\n"
    "      weakest first: KEY<TAB>MISS_RATE_PERCENT<TAB>PRESSES<TAB>MISSES, KEY \"_\" for\n"
    "      the space bar\n"
    "  keyrook-tool confusions [--last N] FILE.kst\n"
    "      the keys pressed instead at the misses: EXPECTED<TAB>PRESSED<TAB>COUNT, most\n"
    "      frequent first\n"
    "  keyrook-tool practice-set [--last N] [--questions Q] [--preset roman|hepburn | --ini FILE]\n"
    "                           FILE.kst SET.std...\n"
    "      the weak-key practice set built from the sets (Q questions, default 20): the\n"
    "      header line, then question and answer lines; exits 1 when no key was missed\n"
    "      or no question holds a weak key\n"
    "  keyrook-tool --help\n"
    "\n"
    "Text is UTF-8; encode, romaji, type, yomi and reading read stdin and write one line per\n"
    "input line.\n"
    "Exit status: 0 done, 1 problems reported by convert or no practice set, 2 usage error,\n"
    "invalid input, a file error or no dictionary for readings.\n";

struct UsageError {
    std::string message;
};

int fail(const Utf8Text& message) {
    std::fprintf(stderr, "keyrook-tool: %s\n", message.c_str());
    return kUsageError;
}

void writeAll(const Utf8Text& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

// Output collected in a block and written when the block is full, so a long input streams
// through in little memory, while a short one is written only once it has been read whole.
class Output {
public:
    ~Output() { flush(); }
    void add(std::string_view text) {
        block_.append(text);
        if (block_.size() >= kBlock) flush();
    }
    void flush() {
        std::fwrite(block_.data(), 1, block_.size(), stdout);
        block_.clear();
    }
    // Drops what has not been written yet.
    void discard() { block_.clear(); }

private:
    static constexpr std::size_t kBlock = 1 << 20;
    std::string block_;
};

// stdin as lines split at LF; a CR before the LF is dropped and a final line break adds no
// line. Read through a small buffer.
class InputLines {
public:
    bool next(std::string_view& line) {
        for (;;) {
            const std::size_t end = buffer_.find('\n', start_);
            if (end != std::string::npos) {
                line = std::string_view(buffer_).substr(start_, end - start_);
                start_ = end + 1;
                if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                return true;
            }
            if (eof_) {
                if (start_ >= buffer_.size()) return false;
                line = std::string_view(buffer_).substr(start_);
                start_ = buffer_.size();
                if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                return true;
            }
            buffer_.erase(0, start_);
            start_ = 0;
            char chunk[65536];
            const std::size_t n = std::fread(chunk, 1, sizeof chunk, stdin);
            if (n == 0) eof_ = true;
            buffer_.append(chunk, n);
        }
    }

private:
    std::string buffer_;
    std::size_t start_ = 0;
    bool eof_ = false;
};

// ASCII reads the same in UTF-8 and CP932, and code strings are ASCII: no conversion needed.
bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Valid UTF-8 that CP932 cannot take whole, to CP932 where a character CP932 lacks becomes
// "〓", which is in no table: it then contributes nothing and, unlike a dropped character,
// joins no neighbours into a combination.
Cp932Text toCp932Lenient(std::string_view utf8) {
    static const std::string geta = *utf8ToCp932("〓");
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto c = static_cast<unsigned char>(utf8[i]);
        std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (auto one = utf8ToCp932(utf8.substr(i, n)))
            out += *one;
        else
            out += geta;
        i += n;
    }
    return out;
}

// Converts each line of stdin (UTF-8, taken into CP932) and writes one line per input line.
// Input that is not UTF-8 stops the filter with a message; of a short input nothing has been
// written by then.
template <typename Fn>
int filterLines(Fn convert) {
    InputLines input;
    Output out;
    std::string cp932;  // one buffer for every line
    for (std::string_view line; input.next(line);) {
        if (!utf8ToCp932(line, cp932)) {
            if (!isValidUtf8(line)) {
                out.discard();
                fail("input is not valid UTF-8");
                return kUsageError;
            }
            cp932 = toCp932Lenient(line);
        }
        const std::string result = convert(cp932);
        if (isAscii(result))
            out.add(result);  // no copy on the path most lines take
        else
            out.add(cp932ToUtf8(result));
        out.add("\n");
    }
    return kOk;
}

// Arguments after the command, with helpers for options and their values.
class Args {
public:
    Args(int argc, char** argv, int first) {
        for (int i = first; i < argc; ++i) items_.emplace_back(argv[i]);
    }
    bool done() const { return pos_ >= items_.size(); }
    const std::string& next() { return items_[pos_++]; }
    std::string value(const std::string& option) {
        if (done()) throw UsageError{option + " needs a value"};
        return next();
    }

private:
    std::vector<std::string> items_;
    std::size_t pos_ = 0;
};

bool isOption(const std::string& a) { return a.size() > 1 && a[0] == '-'; }

[[noreturn]] void unknownOption(const std::string& a) { throw UsageError{"unknown option " + a}; }

int runEncode(Args& args) {
    if (!args.done()) {
        const std::string& a = args.next();
        if (isOption(a)) unknownOption(a);
        throw UsageError{"encode takes no arguments"};
    }
    return filterLines([](const std::string& reading) { return encodeReading(reading); });
}

// The spelling lists and choices of a settings file into variants; a message when it fails.
std::optional<std::string> loadIniVariants(const std::string& ini, VariantTable& variants) {
    std::string text;
    try {
        text = loadStringFromFile(ini);
    } catch (const FileError& e) {
        return std::string(e.what());
    }
    for (const auto& problem : loadVariantSettings(IniDocument(text), variants))
        return ini + ": " + problem;
    return std::nullopt;
}

// The spellings a command decodes or judges with: a preset, a user's settings file, or the
// default lists.
struct SpellingChoice {
    std::string preset;
    std::optional<std::string> ini;

    // Takes --preset or --ini with its value; false for any other argument.
    bool take(const std::string& a, Args& args) {
        if (a == "--preset") {
            preset = args.value(a);
            if (preset != "roman" && preset != "hepburn")
                throw UsageError{"--preset takes roman or hepburn"};
            return true;
        }
        if (a == "--ini") {
            ini = args.value(a);
            return true;
        }
        return false;
    }

    // The chosen lists into variants; a message when the settings file fails.
    std::optional<std::string> apply(VariantTable& variants) const {
        if (ini)
            if (auto problem = loadIniVariants(*ini, variants)) return problem;
        if (preset == "roman") variants.applyRoman();
        if (preset == "hepburn") variants.applyHepburn();
        return std::nullopt;
    }
};

int runRomaji(Args& args) {
    SpellingChoice spelling;
    bool plain = false;
    while (!args.done()) {
        const std::string& a = args.next();
        if (spelling.take(a, args)) continue;
        if (a == "--plain") {
            plain = true;
        } else if (isOption(a)) {
            unknownOption(a);
        } else {
            throw UsageError{"romaji takes no file arguments"};
        }
    }
    VariantTable variants;
    if (auto problem = spelling.apply(variants)) return fail(*problem);
    return filterLines(
        [&](const std::string& code) { return Changer(code, variants, plain); });
}

int runTypeKana();

// Keys typed at questions, judged as a practice session judges them (without the 500 ms miss
// guard: the tool has no time). A line without a TAB has no keys.
int runType(Args& args) {
    SpellingChoice spelling;
    MatchOptions options;
    bool kana = false;
    while (!args.done()) {
        const std::string& a = args.next();
        if (spelling.take(a, args)) continue;
        if (a == "--flexible") {
            options.flexible = true;
        } else if (a == "--lc") {
            options.lowerCase = true;
        } else if (a == "--kana") {
            kana = true;
        } else if (isOption(a)) {
            unknownOption(a);
        } else {
            throw UsageError{"type takes no file arguments"};
        }
    }
    if (spelling.ini && !spelling.preset.empty())
        throw UsageError{"type takes either --preset or --ini"};
    if (kana && (options.flexible || options.lowerCase || spelling.ini || !spelling.preset.empty()))
        throw UsageError{"type --kana takes no spelling options"};
    if (kana) return runTypeKana();
    VariantTable variants;
    if (auto problem = spelling.apply(variants)) return fail(*problem);
    RomajiMatcher matcher;
    return filterLines([&](const std::string& line) {
        const std::size_t tab = line.find('\t');
        const std::string keys = tab == std::string::npos ? std::string() : line.substr(tab + 1);
        matcher.start(line.substr(0, tab), variants, false, options);
        std::string judged;
        for (char k : keys) {
            switch (matcher.key(k).judgement) {
                case KeyJudgement::Hit: judged += 'H'; break;
                case KeyJudgement::Miss: judged += 'M'; break;
                case KeyJudgement::Ignored: judged += '.'; break;
            }
        }
        const std::string bytes = matcher.complete() ? std::to_string(matcher.rowBytes()) : "-";
        return judged + "\t" + matcher.remaining() + "\t" + bytes;
    });
}

// Presses on the JIS kana layout, one character of KEYS each.
int runTypeKana() {
    KanaMatcher matcher;
    return filterLines([&](const std::string& line) {
        const std::size_t tab = line.find('\t');
        const std::string keys = tab == std::string::npos ? std::string() : line.substr(tab + 1);
        matcher.start(line.substr(0, tab));
        std::string judged;
        for (std::size_t i = 0; i < keys.size();) {
            const std::size_t n =
                isLeadByte(static_cast<unsigned char>(keys[i])) && i + 1 < keys.size() ? 2 : 1;
            switch (matcher.press(kanaPressOf(keys.substr(i, n)))) {
                case KeyJudgement::Hit: judged += 'H'; break;
                case KeyJudgement::Miss: judged += 'M'; break;
                case KeyJudgement::Ignored: judged += '.'; break;
            }
            i += n;
        }
        const std::string count = matcher.complete() ? std::to_string(matcher.presses()) : "-";
        return judged + "\t" + matcher.remainingPresses() + "\t" + count;
    });
}

int runYomi(Args& args) {
    bool plain = false;
    while (!args.done()) {
        const std::string& a = args.next();
        if (a == "--plain")
            plain = true;
        else if (isOption(a))
            unknownOption(a);
        else
            throw UsageError{"yomi takes no file arguments"};
    }
    return filterLines([&](const std::string& code) { return ChangeYomi(code, plain); });
}

// The suggester over the dictionary of --dicdir, or over the usual ones.
std::unique_ptr<ReadingSuggester> openSuggester(const std::optional<std::string>& dicdir) {
    return openMecabSuggester(dicdir ? std::vector<std::string>{*dicdir} : defaultDictionaryDirs());
}

int noDictionary() {
    return fail(std::string("no MeCab dictionary in UTF-8 found for readings (Debian packages: ") +
                kSuggesterPackages + ")");
}

int runReading(Args& args) {
    std::optional<std::string> dicdir;
    while (!args.done()) {
        const std::string& a = args.next();
        if (a == "--dicdir")
            dicdir = args.value(a);
        else if (isOption(a))
            unknownOption(a);
        else
            throw UsageError{"reading takes no file arguments"};
    }
    auto suggester = openSuggester(dicdir);
    if (!suggester) return noDictionary();
    InputLines input;
    Output out;
    for (std::string_view line; input.next(line);) {
        if (!isValidUtf8(line)) {
            out.discard();
            return fail("input is not valid UTF-8");
        }
        out.add(suggester->suggest(line));
        out.add("\n");
    }
    return kOk;
}

// A header field from the command line: CP932 and on one line, or a message.
Cp932Text headerField(const std::string& name, const Utf8Text& utf8) {
    if (!isValidUtf8(utf8)) throw UsageError{name + " is not valid UTF-8"};
    auto cp932 = utf8ToCp932(utf8);
    if (!cp932) throw UsageError{name + " holds a character that Shift-JIS (CP932) cannot hold"};
    // A line break would split the header and shift every question.
    if (cp932->find_first_of("\r\n") != std::string::npos)
        throw UsageError{name + " must not hold a line break"};
    return *cp932;
}

int runConvert(Args& args) {
    std::optional<std::string> title, author, description, dicdir;
    bool english = false, fill = false;
    std::vector<std::string> files;
    while (!args.done()) {
        const std::string& a = args.next();
        if (a == "--english")
            english = true;
        else if (a == "--fill-readings")
            fill = true;
        else if (a == "--dicdir")
            dicdir = args.value(a);
        else if (a == "--title")
            title = args.value(a);
        else if (a == "--author")
            author = args.value(a);
        else if (a == "--description")
            description = args.value(a);
        else if (isOption(a))
            unknownOption(a);
        else
            files.push_back(a);
    }
    if (!title || !author || !description)
        throw UsageError{"convert needs --title, --author and --description"};
    if (files.size() != 2) throw UsageError{"convert needs EDITOR_FILE and DATA_DIR"};
    if (dicdir && !fill) throw UsageError{"--dicdir goes with --fill-readings"};
    if (fill && english) throw UsageError{"--fill-readings is for roman-type sets"};

    MakerDocument doc;
    doc.kind = english ? SetKind::English : SetKind::Roman;
    doc.title = headerField("the title", *title);
    doc.author = headerField("the author", *author);
    doc.description = headerField("the description", *description);

    std::string text;
    try {
        text = loadStringFromFile(files[0]);
    } catch (const FileError& e) {
        return fail(e.what());
    }
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    if (!isValidUtf8(text)) return fail(files[0] + " is not valid UTF-8");
    std::vector<std::string> lines = splitLines(text);
    if (fill) {
        auto suggester = openSuggester(dicdir);
        if (!suggester) return noDictionary();
        for (LineEdit& e : readingFills(lines, *suggester)) {
            if (e.row == static_cast<int>(lines.size()))
                lines.push_back(std::move(e.text));
            else
                lines[static_cast<std::size_t>(e.row)] = std::move(e.text);
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto line = utf8ToCp932(lines[i]);
        if (!line)
            return fail(files[0] + ": line " + std::to_string(i + 1) +
                        " holds a character that Shift-JIS (CP932) cannot hold");
        lines[i] = std::move(*line);
    }
    doc.lines = std::move(lines);

    SaveResult result;
    try {
        result = convertAndSave(doc, files[1]);
    } catch (const FileError& e) {
        return fail(e.what());
    }
    switch (result.status) {
        case SaveStatus::Saved:
            return kOk;
        case SaveStatus::EmptyTitle:
        case SaveStatus::BadTitle:
            return fail(cp932ToUtf8(result.message));
        case SaveStatus::Problems:
            break;
    }
    std::string out;
    for (const auto& e : result.errors) out += e + "\n";
    writeAll(cp932ToUtf8(out));
    return kProblems;
}

int runRecords(Args& args) {
    if (args.done()) throw UsageError{"records needs FILE"};
    const std::string file = args.next();
    if (isOption(file)) unknownOption(file);
    if (!args.done()) throw UsageError{"records takes one FILE"};
    // Line by line: a long history is never held whole.
    try {
        FileLines lines(file);
        Output out;
        for (std::string_view line; lines.next(line);) {
            out.add(recordLineVerdict(line));
            out.add(cp932ToUtf8(line));
            out.add("\n");
        }
    } catch (const FileError& e) {
        return fail(e.what());
    }
    return kOk;
}

int runProgress(Args& args) {
    ProgressBy by = ProgressBy::Week;
    std::optional<std::string> title;
    std::optional<std::string> file;
    while (!args.done()) {
        const std::string& a = args.next();
        if (a == "--by") {
            const std::string v = args.value(a);
            if (v == "day")
                by = ProgressBy::Day;
            else if (v == "week")
                by = ProgressBy::Week;
            else if (v == "month")
                by = ProgressBy::Month;
            else
                throw UsageError{"--by takes day, week or month"};
        } else if (a == "--title") {
            // As a title stands in a record: a comma there is the full-width one.
            title = recordFieldText(headerField("the title", args.value(a)));
        } else if (isOption(a)) {
            unknownOption(a);
        } else if (file) {
            throw UsageError{"progress takes one FILE"};
        } else {
            file = a;
        }
    }
    if (!file) throw UsageError{"progress needs FILE"};
    ProgressTable table(by);
    try {
        FileLines lines(*file);
        for (std::string_view line; lines.next(line);)
            if (auto session = practiceSession(line, title ? &*title : nullptr))
                table.add(*session);
    } catch (const FileError& e) {
        return fail(e.what());
    }
    Output out;
    out.add(kProgressCsvHeader);
    out.add("\n");
    for (const ProgressPeriod& p : table.periods()) {
        out.add(progressCsvLine(p));
        out.add("\n");
    }
    return kOk;
}

int runClassReport(Args& args) {
    if (args.done()) throw UsageError{"class-report needs USER_DIR"};
    const std::string dir = args.next();
    if (isOption(dir)) unknownOption(dir);
    if (!args.done()) throw UsageError{"class-report takes one USER_DIR"};
    try {
        const ClassReport report = classReport(dir);
        writeAll(report.csv);
        if (report.damaged > 0)
            std::fprintf(stderr, "keyrook-tool: %zu damaged record lines skipped\n", report.damaged);
    } catch (const FileError& e) {
        return fail(e.what());
    }
    return kOk;
}

// A count given on the command line: digits only, from 1.
std::size_t positiveNumber(const std::string& option, const std::string& value) {
    std::size_t n = 0;
    for (char c : value) {
        if (c < '0' || c > '9' || n > 1000000000) throw UsageError{option + " takes a positive number"};
        n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    if (n == 0) throw UsageError{option + " takes a positive number"};
    return n;
}

// The key as the commands print it: the character, "_" for the space bar, <HH> otherwise.
std::string keyName(unsigned char key) {
    key = keyOf(key);
    if (key > 0x20 && key < 0x7F) return std::string(1, static_cast<char>(key));
    static constexpr char hex[] = "0123456789ABCDEF";
    return std::string{'<', hex[key >> 4], hex[key & 15], '>'};
}

// The options and files of weak-keys, confusions and practice-set.
struct KeyStatsArgs {
    std::size_t last = 0;  // all
    std::size_t questions = kWeakSetQuestions;
    SpellingChoice spelling;
    std::vector<std::string> files;

    KeyStatsArgs(Args& args, const std::string& command, bool practice) {
        while (!args.done()) {
            const std::string& a = args.next();
            if (a == "--last") {
                last = positiveNumber(a, args.value(a));
            } else if (practice && a == "--questions") {
                questions = positiveNumber(a, args.value(a));
            } else if (practice && spelling.take(a, args)) {
            } else if (isOption(a)) {
                unknownOption(a);
            } else {
                files.push_back(a);
            }
        }
        if (files.empty()) throw UsageError{command + " needs FILE.kst"};
        if (!practice && files.size() > 1) throw UsageError{command + " takes one FILE.kst"};
        if (practice && files.size() < 2) throw UsageError{command + " needs FILE.kst and SET.std"};
        if (spelling.ini && !spelling.preset.empty())
            throw UsageError{command + " takes either --preset or --ini"};
    }

    KeyAnalysis analyse() const { return analyseKeyStats(readKeyStats(loadStringFromFile(files[0])), last); }
};

int runWeakKeys(Args& args) {
    const KeyStatsArgs options(args, "weak-keys", false);
    try {
        const KeyAnalysis a = options.analyse();
        std::string out;
        for (unsigned char key : a.weakest) {
            const KeyCount& c = a.keys[key];
            out += keyName(key) + "\t" + formatFixed(missRate(c), 1) + "\t" + std::to_string(c.presses()) +
                   "\t" + std::to_string(c.misses) + "\n";
        }
        writeAll(out);
    } catch (const FileError& e) {
        return fail(e.what());
    }
    return kOk;
}

int runConfusions(Args& args) {
    const KeyStatsArgs options(args, "confusions", false);
    try {
        std::string out;
        for (const Confusion& c : confusionList(options.analyse()))
            out += keyName(c.expected) + "\t" + keyName(c.pressed) + "\t" + std::to_string(c.count) + "\n";
        writeAll(out);
    } catch (const FileError& e) {
        return fail(e.what());
    }
    return kOk;
}

int runPracticeSet(Args& args) {
    const KeyStatsArgs options(args, "practice-set", true);
    VariantTable variants;
    if (auto problem = options.spelling.apply(variants)) return fail(*problem);
    try {
        const std::vector<WeakKey> keys = weakSetKeys(options.analyse());
        if (keys.empty()) {
            std::fprintf(stderr, "keyrook-tool: %s: no key was missed\n", options.files[0].c_str());
            return kProblems;
        }
        const std::vector<std::string> sets(options.files.begin() + 1, options.files.end());
        const auto text = buildWeakKeySet(sets, keys, variants, options.questions);
        if (!text) {
            std::fputs("keyrook-tool: no question holds a weak key\n", stderr);
            return kProblems;
        }
        std::string out;
        for (const std::string& line : splitLines(*text)) out += cp932ToUtf8(line) + "\n";
        writeAll(out);
    } catch (const FileError& e) {
        return fail(e.what());
    }
    return kOk;
}

int run(int argc, char** argv) {
    if (argc < 2) throw UsageError{"no command given"};
    const std::string command = argv[1];
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return kOk;
        }
    }
    Args args(argc, argv, 2);
    if (command == "encode") return runEncode(args);
    if (command == "romaji") return runRomaji(args);
    if (command == "type") return runType(args);
    if (command == "yomi") return runYomi(args);
    if (command == "reading") return runReading(args);
    if (command == "convert") return runConvert(args);
    if (command == "records") return runRecords(args);
    if (command == "progress") return runProgress(args);
    if (command == "class-report") return runClassReport(args);
    if (command == "weak-keys") return runWeakKeys(args);
    if (command == "confusions") return runConfusions(args);
    if (command == "practice-set") return runPracticeSet(args);
    if (isOption(command)) unknownOption(command);
    throw UsageError{"unknown command " + command};
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "keyrook-tool: %s\n%s", e.message.c_str(), kUsage);
        return kUsageError;
    }
}
