// Where files live: the portable layout's paths as the program always built them, the installed
// layout with its merged set list, and the start-up decision between them.
#include "base/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using testing::TempDir;

const std::string kTaro = "\x91\xbe\x98\x59";         // 太郎
const std::string kSchool = "\x8aw\x8dZ";              // 学校
const std::string kSet = "desc/me\r\n\x8aw\x8dZ\r\nGA18KOU\r\n";

TEST(Paths, PortableLayoutIsEverythingBesideTheProgram) {
    const Paths p("/app/");
    EXPECT_EQ(p.mode(), Paths::Mode::Portable);
    EXPECT_EQ(p.userList(), "/app/user/user.log");
    EXPECT_EQ(p.userFile(kTaro, ".rec"), "/app/user/太郎.rec");
    EXPECT_EQ(p.setFile(kSchool), "/app/data/学校.std");
    EXPECT_EQ(p.setDirForWriting(), "/app/data");
    EXPECT_EQ(p.setFileForWriting(kSchool), "/app/data/学校.std");
    EXPECT_EQ(p.soundFile("op"), "/app/sound/op.wav");
    EXPECT_EQ(p.helpFile(), "/app/help.hlp");
}

TEST(Paths, InstalledLayoutSplitsProgramFilesFromTheUsers) {
    TempDir share, home;
    saveStringToFile(share / "data/学校.std", kSet);
    saveStringToFile(share / "data/あいさつ.std", kSet);
    saveStringToFile(share / "data/\xff.std", kSet);  // not a UTF-8 name: left out
    saveStringToFile(share / "data/学校.STD", kSet);   // the same title: listed once
    const Paths p = Paths::installed(share.dir(), home / "keyrook");
    EXPECT_EQ(p.mode(), Paths::Mode::Installed);
    EXPECT_EQ(p.userList(), home / "keyrook/user/user.log");
    EXPECT_EQ(p.userFile(kTaro, ".ini"), home / "keyrook/user/太郎.ini");
    EXPECT_EQ(p.soundFile("op"), share / "sound/op.wav");
    EXPECT_EQ(p.helpFile(), share / "help.hlp");
    EXPECT_EQ(p.setFile(kSchool), share / "data/学校.std");
    EXPECT_EQ(p.setFileForWriting(kSchool), home / "keyrook/data/学校.std");
    std::vector<std::string> installed = p.setTitles();
    EXPECT_EQ(installed.size(), 2u);

    // The user's own sets follow the installed ones; one of the same title takes its place.
    saveStringToFile(p.setFileForWriting(kSchool), kSet);
    saveStringToFile(home / "keyrook/data/mine.std", kSet);
    saveStringToFile(home / "keyrook/data/mine.STD", kSet);
    std::vector<std::string> merged = installed;
    merged.push_back("mine");
    EXPECT_EQ(p.setTitles(), merged);
    EXPECT_EQ(p.setFile(kSchool), home / "keyrook/data/学校.std");
    EXPECT_EQ(p.setFile("mine"), home / "keyrook/data/mine.std");
}

TEST(Paths, UserDataRootFollowsXdgDataHome) {
    struct Case {
        StartupEnvironment env;
        std::string root;
    };
    for (const Case& c : std::vector<Case>{
             {{"/x/data", "/home/u"}, "/x/data/keyrook/"},
             {{"/x/data//", "/home/u"}, "/x/data/keyrook/"},
             {{"", "/home/u"}, "/home/u/.local/share/keyrook/"},
             {{"relative/data", "/home/u/"}, "/home/u/.local/share/keyrook/"},  // ignored
         })
        EXPECT_EQ(userDataRoot(c.env), c.root) << c.env.xdgDataHome;
}

// An executable in <prefix>/bin/ beside <prefix>/share/keyrook/, or in a folder of its own.
struct Layout {
    TempDir root;
    std::string bin() const { return root / "bin/"; }
    std::string share() const { return root / "share/keyrook/"; }
    StartupEnvironment env() const { return {root / "xdg", root / "home"}; }
    void make(const std::string& dir) const { std::filesystem::create_directories(dir); }
};

TEST(Paths, StartupDecision) {
    auto everywhere = [](const std::string&) { return true; };
    auto nowhere = [](const std::string&) { return false; };
    struct Case {
        const char* name;
        bool userFolder, installedShare;
        std::function<bool(const std::string&)> writable;
        Paths::Mode mode;
        bool programFilesFromShare;
        bool userFolderAfter;
    };
    for (const Case& c : std::vector<Case>{
             {"writable user/", true, false, everywhere, Paths::Mode::Portable, false, true},
             {"user/ beside an installed share", true, true, everywhere, Paths::Mode::Portable, false, true},
             {"user/ created", false, false, everywhere, Paths::Mode::Portable, false, true},
             {"read-only user/", true, true, nowhere, Paths::Mode::Installed, true, true},
             {"read-only portable copy", true, false, nowhere, Paths::Mode::Installed, false, true},
             {"read-only folder", false, false, nowhere, Paths::Mode::Installed, false, false},
             // root could create <prefix>/bin/user/; an installed program must not.
             {"installed", false, true, everywhere, Paths::Mode::Installed, true, false},
         }) {
        Layout l;
        l.make(l.bin());
        if (c.userFolder) l.make(l.bin() + "user");
        if (c.installedShare) l.make(l.share());
        const Paths p = decidePaths(l.bin(), l.env(), c.writable);
        EXPECT_EQ(p.mode(), c.mode) << c.name;
        EXPECT_EQ(std::filesystem::is_directory(l.bin() + "user"), c.userFolderAfter) << c.name;
        if (c.mode == Paths::Mode::Portable) {
            EXPECT_EQ(p.userRoot(), l.bin()) << c.name;
            EXPECT_EQ(p.programDir(), l.bin()) << c.name;
        } else {
            EXPECT_EQ(p.userRoot(), l.root / "xdg/keyrook/") << c.name;
            // Found from the executable's folder, without "../" left in the paths shown.
            EXPECT_EQ(p.programDir(), c.programFilesFromShare ? l.share() : l.bin()) << c.name;
        }
    }
}

TEST(Paths, FolderWritableAsksTheFileSystem) {
    TempDir t;
    EXPECT_TRUE(folderWritable(t.dir()));
    saveStringToFile(t / "file", "x");
    // Nothing can be made below a regular file, not even by root.
    EXPECT_FALSE(folderWritable(t / "file/"));
    EXPECT_FALSE(folderWritable(t / "missing/"));
}

}  // namespace
}  // namespace keyrook
