#include "typing/key_stats.h"

#include <algorithm>
#include <charconv>

#include "base/files.h"
#include "typing/record_file.h"
#include "typing/scoring.h"

namespace keyrook {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendNumber(std::string& out, std::uint64_t n) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
    (void)ec;
    out.append(buf, end);
}

// A decimal number of digits only.
bool readNumber(std::string_view text, std::uint64_t& value) {
    if (text.empty()) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// Two upper-case hex digits into a byte.
bool readByte(std::string_view text, int& byte) {
    if (text.size() != 2) return false;
    const int hi = hexDigit(text[0]);
    const int lo = hexDigit(text[1]);
    if (hi < 0 || lo < 0) return false;
    byte = hi * 16 + lo;
    return true;
}

void appendByte(std::string& out, unsigned char b) {
    out += kHex[b >> 4];
    out += kHex[b & 15];
}

// "PPxN:QQxM" into confusions: ascending keys, counts from 1, no more in all than misses.
bool readConfusions(std::string_view text, std::uint64_t misses, Confusions& out) {
    int previous = -1;
    std::uint64_t total = 0;
    for (;;) {
        const std::size_t colon = text.find(':');
        const std::string_view item = text.substr(0, colon);
        int byte = 0;
        std::uint64_t n = 0;
        if (item.size() < 4 || item[2] != 'x' || !readByte(item.substr(0, 2), byte) ||
            !readNumber(item.substr(3), n) || n == 0 || byte <= previous || n > misses - total)
            return false;
        total += n;
        out.emplace(static_cast<unsigned char>(byte), n);
        previous = byte;
        if (colon == std::string_view::npos) return true;
        text = text.substr(colon + 1);
    }
}

// "HH=a/b/c/d" or "HH=a/b/c/d/confusions" into byte and count.
bool readEntry(std::string_view entry, int& byte, KeyCount& count) {
    if (entry.size() < 3 || entry[2] != '=' || !readByte(entry.substr(0, 2), byte)) return false;
    std::uint64_t* fields[4] = {&count.hits, &count.misses, &count.intervalSum, &count.intervalCount};
    std::string_view rest = entry.substr(3);
    for (int i = 0; i < 4; ++i) {
        const std::size_t slash = rest.find('/');
        if (slash == std::string_view::npos && i < 3) return false;
        if (!readNumber(rest.substr(0, slash), *fields[i])) return false;
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (i == 3 && slash != std::string_view::npos)
            return readConfusions(rest, count.misses, count.confusions);
    }
    return true;
}

char upperKey(char key) { return key >= 'a' && key <= 'z' ? static_cast<char>(key - 'a' + 'A') : key; }

}  // namespace

void KeyStatsCounter::reset() {
    counts_ = KeyCounts{};
    lastHitValid_ = false;
}

bool KeyStatsCounter::empty() const {
    return std::all_of(counts_.begin(), counts_.end(), [](const KeyCount& c) { return c.empty(); });
}

void KeyStatsCounter::miss(char expected, char pressed) {
    KeyCount& c = counts_[static_cast<unsigned char>(upperKey(expected))];
    ++c.misses;
    ++c.confusions[static_cast<unsigned char>(upperKey(pressed))];
    // The time spent finding the right key after a miss is no measure of the key.
    lastHitValid_ = false;
}

void KeyStatsCounter::hit(char key, std::uint32_t tick) {
    KeyCount& c = counts_[static_cast<unsigned char>(upperKey(key))];
    ++c.hits;
    if (lastHitValid_) {
        c.intervalSum += tick - lastHit_;  // unsigned: a wrap of the tick is harmless
        ++c.intervalCount;
    }
    lastHit_ = tick;
    lastHitValid_ = true;
}

std::string keyStatsEntries(const KeyCounts& counts) {
    std::string out;
    for (int b = 0; b < 256; ++b) {
        const KeyCount& c = counts[static_cast<std::size_t>(b)];
        if (c.empty()) continue;
        if (!out.empty()) out += ';';
        appendByte(out, static_cast<unsigned char>(b));
        out += '=';
        appendNumber(out, c.hits);
        out += '/';
        appendNumber(out, c.misses);
        out += '/';
        appendNumber(out, c.intervalSum);
        out += '/';
        appendNumber(out, c.intervalCount);
        char separator = '/';
        for (const auto& [key, n] : c.confusions) {
            if (n == 0) continue;
            out += separator;
            appendByte(out, key);
            out += 'x';
            appendNumber(out, n);
            separator = ':';
        }
    }
    return out;
}

std::string keyStatsLine(std::string_view date, std::string_view title, const KeyCounts& counts) {
    std::string line(date);
    line += ',';
    line += title;
    line += ',';
    line += keyStatsEntries(counts);
    return withChecksum(std::move(line));
}

std::optional<StoredKeyStats> parseKeyStatsLine(std::string_view line) {
    if (!isValidRecordLine(line)) return std::nullopt;
    const std::string_view body = line.substr(0, line.rfind(','));
    const std::size_t c1 = body.find(',');
    if (c1 == std::string_view::npos) return std::nullopt;
    const std::size_t c2 = body.find(',', c1 + 1);
    if (c2 == std::string_view::npos || body.find(',', c2 + 1) != std::string_view::npos)
        return std::nullopt;

    StoredKeyStats s;
    s.date = std::string(body.substr(0, c1));
    s.title = std::string(body.substr(c1 + 1, c2 - c1 - 1));
    std::string_view entries = body.substr(c2 + 1);
    int previous = -1;
    while (!entries.empty()) {
        const std::size_t semi = entries.find(';');
        const std::string_view entry = entries.substr(0, semi);
        int byte = 0;
        KeyCount count;
        // Entries come in ascending byte order, each byte once.
        if (!readEntry(entry, byte, count) || byte <= previous) return std::nullopt;
        s.entries.push_back({static_cast<unsigned char>(byte), count});
        previous = byte;
        if (semi == std::string_view::npos) break;
        entries = entries.substr(semi + 1);
        if (entries.empty()) return std::nullopt;  // a trailing ";"
    }
    return s;
}

std::vector<StoredKeyStats> readKeyStats(std::string_view fileText) {
    std::vector<StoredKeyStats> out;
    for (const std::string& line : splitNonEmptyLines(fileText))
        if (auto s = parseKeyStatsLine(line)) out.push_back(std::move(*s));
    return out;
}

void appendKeyStats(const std::string& path, std::string_view line) { writeRecord(path, line); }

}  // namespace keyrook
