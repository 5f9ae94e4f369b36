// Helper process for the shared-folder test: one program among several on one user folder.
// "share_child <user dir> <id> <rounds>" registers a user per round and stores a session
// record, a key-statistics line, a reflex game and a ten-key score into files every child
// shares, each through the same calls the program makes.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/user_list.h"
#include "base/files.h"
#include "reflex/ref_file.h"
#include "tenkey/tenkey_engine.h"
#include "typing/key_stats.h"
#include "typing/record_file.h"
#include "typing/scoring.h"

int main(int argc, char** argv) {
    using namespace keyrook;
    if (argc != 4) return 2;
    const std::string dir = argv[1], id = argv[2];
    const int rounds = std::atoi(argv[3]);
    try {
        for (int round = 0; round < rounds; ++round) {
            const std::string tag = id + "-" + std::to_string(round);
            // A program that started with the list as it was, registered one user and quits.
            UserList users;
            if (fileExists(dir + "user.log")) users.load(loadStringFromFile(dir + "user.log"));
            users.items.push_back("p" + tag);
            users.current = users.items.back();
            updateFile(dir + "user.log", [&](const std::optional<std::string>& now) {
                return users.mergedSaveText(now);
            });
            const std::string date = "26/12/09 10:00:" + std::to_string(round % 60);
            writeRecord(dir + "class.rec",
                        withChecksum(date + ",p" + tag + ",title,1,2,3,4,5,6,7,8,9,10"));
            KeyCounts counts{};
            counts['A'] = KeyCount{static_cast<std::uint64_t>(round) + 1, 1, 100, 1};
            appendKeyStats(dir + "class.kst", keyStatsLine(date, tag, counts));
            storeReflexRecord(dir + "class.ref",
                              reflexRecordLine(1 + round % 6, round, tag, "2", "3", "4"),
                              1 + round % 6, round % 7 == 0);
            appendTenkeyScore(dir + "class.tnk", std::atoi(id.c_str()) * 100000 + round);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
