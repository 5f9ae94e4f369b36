#include "typing/key_stats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>


namespace keyrook {
namespace {

// "ことわざ１" in CP932.
const std::string kTitle = "\x82\xb1\x82\xc6\x82\xed\x82\xb4\x82\x50";
const std::string kLine = "26/12/09 21:04:11," + kTitle + ",41=52/3/9870/40;4B=20/0/4120/18,8118";
// A line of the same session whose misses recorded the key pressed: S once, Q twice.
const std::string kConfusedLine =
    "26/12/09 21:04:11," + kTitle + ",41=52/3/9870/40/51x2:53x1;4B=20/0/4120/18,9418";

KeyCounts sample() {
    KeyCounts c{};
    c['A'] = {52, 3, 9870, 40, {}};
    c['K'] = {20, 0, 4120, 18, {}};
    return c;
}

KeyCounts countsOf(const StoredKeyStats& s) {
    KeyCounts c{};
    for (const KeyEntry& e : s.entries) c[e.key] = e.count;
    return c;
}

bool same(const KeyCounts& a, const KeyCounts& b) {
    for (int i = 0; i < 256; ++i) {
        const KeyCount &x = a[static_cast<std::size_t>(i)], &y = b[static_cast<std::size_t>(i)];
        if (x.hits != y.hits || x.misses != y.misses || x.intervalSum != y.intervalSum ||
            x.intervalCount != y.intervalCount || x.confusions != y.confusions)
            return false;
    }
    return true;
}

TEST(KeyStatsCounter, HitsMissesAndIntervalsWithinOneQuestion) {
    KeyStatsCounter k;
    EXPECT_TRUE(k.empty());
    k.newQuestion();
    k.hit('K', 1000);       // first key of the question: no interval
    k.hit('A', 1120);
    k.miss('a', 's');       // lower case counts for A, for the key pressed too
    k.hit('a', 1250);       // the recovery after a miss: no interval
    k.miss('K', ' ');
    k.miss('K', 'S');
    k.hit('K', 1400);
    k.hit('A', 1500);       // typed on again: 100 ms
    k.interrupt();          // a pause
    k.hit('A', 9000);
    k.newQuestion();
    k.hit('A', 10000);      // first key again: nothing measured across the questions
    k.hit('_', 10090);
    k.hit('K', 0x10);       // the tick wrapped since the last hit
    EXPECT_EQ(keyStatsEntries(k.counts()),
              "41=5/1/220/2/53x1;4B=3/2/4294957222/1/20x1:53x1;5F=1/0/90/1");
    k.reset();
    EXPECT_TRUE(k.empty());
    EXPECT_EQ(keyStatsEntries(k.counts()), "");
}

TEST(KeyStatsLine, ByteExactAndReadBack) {
    EXPECT_EQ(keyStatsLine("26/12/09 21:04:11", kTitle, sample()), kLine);
    auto s = parseKeyStatsLine(kLine);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->date, "26/12/09 21:04:11");
    EXPECT_EQ(s->title, kTitle);
    EXPECT_TRUE(same(countsOf(*s), sample()));
    // Confusions ride on the entry; a line without them reads as before, and both kinds read
    // from one file.
    KeyCounts confused = sample();
    confused['A'].confusions = {{'S', 1}, {'Q', 2}};
    EXPECT_EQ(keyStatsLine("26/12/09 21:04:11", kTitle, confused), kConfusedLine);
    const std::vector<StoredKeyStats> both = readKeyStats(kLine + "\r\n" + kConfusedLine + "\r\n");
    ASSERT_EQ(both.size(), 2u);
    EXPECT_TRUE(same(countsOf(both[0]), sample()));
    EXPECT_TRUE(same(countsOf(both[1]), confused));
    // Every byte value survives, "-" as 2D.
    KeyCounts edge{};
    edge[0x00] = {1, 0, 0, 0};
    edge['-'] = {0, 7, 0, 0};
    edge[0xFF] = {18446744073709551615ull, 0, 0, 0};
    const std::string line = keyStatsLine("d", "t", edge);
    EXPECT_NE(line.find(",00=1/0/0/0;2D=0/7/0/0;FF=18446744073709551615/0/0/0,"), std::string::npos);
    ASSERT_TRUE(parseKeyStatsLine(line));
    EXPECT_TRUE(same(countsOf(*parseKeyStatsLine(line)), edge));
}

// Re-signs a body so that only its format is wrong.
std::string signedLine(const std::string& body) {
    int sum = 0;
    for (unsigned char c : body) sum += c;
    return body + "," + std::to_string(2 * sum);
}

TEST(KeyStatsLine, DamagedLinesAreRefused) {
    for (const std::string& bad : {
             kLine.substr(0, kLine.size() - 1) + "9",          // checksum
             kLine.substr(0, kLine.size() - 5),                 // no checksum
             signedLine("d,t,41=1/2/3"),                        // three numbers
             signedLine("d,t,41=1/2/3/4/5"),                    // five numbers
             signedLine("d,t,4b=1/2/3/4"),                      // lower-case hex
             signedLine("d,t,4=1/2/3/4"),                       // one hex digit
             signedLine("d,t,41=1/-2/3/4"),                     // sign
             signedLine("d,t,41=1/2/3/x"),
             signedLine("d,t,41=1/2/3/18446744073709551616"),  // beyond 64 bits
             signedLine("d,t,4B=1/2/3/4;41=1/2/3/4"),           // out of order
             signedLine("d,t,41=1/2/3/4;41=1/2/3/4"),           // twice
             signedLine("d,t,41=1/2/3/4;"),
             signedLine("d,t"),
             signedLine("d,t,x,41=1/2/3/4"),                    // a comma too many
             signedLine("d,t,41=1/2/3/4/"),                     // confusions: empty
             signedLine("d,t,41=1/0/3/4/53x1"),                 // more than the misses
             signedLine("d,t,41=1/2/3/4/53x1:53x1"),            // a key twice
             signedLine("d,t,41=1/2/3/4/54x1:53x1"),            // out of order
             signedLine("d,t,41=1/2/3/4/53x0"),                 // none
             signedLine("d,t,41=1/2/3/4/53-1"),
             signedLine("d,t,41=1/2/3/4/53x1:"),
             signedLine("d,t,41=1/2/3/4/53x1/54x1"),
             signedLine("d,t,41=1/18446744073709551615/3/4/53x18446744073709551615:54x1"),
         })
        EXPECT_FALSE(parseKeyStatsLine(bad)) << bad;
    EXPECT_TRUE(parseKeyStatsLine(signedLine("d,t,")));  // a session without judged keys
}

TEST(KeyStatsFile, ReadingGoesOnPastDamageAndNulRuns) {
    const std::string other = keyStatsLine("26/12/10 8:00:00", "b", sample());
    const std::string text = kLine + "\r\n" + "garbage\r\n" + kLine.substr(0, 30) + "\r\n\r\n" +
                             std::string(40, '\0') + other + "\n" + kLine + "\r" + other;
    const std::vector<StoredKeyStats> read = readKeyStats(text);
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[0].title, kTitle);
    EXPECT_EQ(read[1].title, "b");
    EXPECT_EQ(read[3].title, "b");
    EXPECT_TRUE(readKeyStats("").empty());
}

}  // namespace
}  // namespace keyrook
