// The user list file and the user-name rule. Round trip: the list written at close reads back
// as the same list, and writes the same text again. No name that is offered, or that the rule
// lets through, leaves the user folder.
#include "app/user_list.h"
#include "base/cp932.h"
#include "base/paths.h"
#include "fuzz_check.h"

using namespace keyrook;

namespace {

void checkStaysInUserFolder(const std::string& cp932Name) {
    const std::string path = Paths("/app/").userFile(cp932Name, ".rec");
    FUZZ_CHECK(path.rfind("/app/user/", 0) == 0);
    FUZZ_CHECK(path.find('/', 10) == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzzInput(data, size);
    UserList users;
    users.load(text);
    const std::string saved = users.saveText();
    UserList again;
    again.load(saved);
    FUZZ_CHECK(again.items == users.items);
    FUZZ_CHECK(again.current == users.current);
    FUZZ_CHECK(again.skipped.size() == users.skipped.size());
    for (std::size_t i = 0; i < users.skipped.size(); ++i)
        FUZZ_CHECK(again.skipped[i].line == users.skipped[i].line);
    FUZZ_CHECK(again.saveText() == saved);
    FUZZ_CHECK(users.contains(users.current));
    for (const std::string& name : users.items) {
        FUZZ_CHECK(!storedUserNameProblem(name));
        checkStaysInUserFolder(name);
    }
    skippedUsersMessage(users, "user/user.log");

    // The input as a typed name: what registration accepts is a usable stored name.
    if (!userNameProblem(text) && !text.empty()) {
        const auto cp932 = utf8ToCp932(text);
        FUZZ_CHECK(cp932 && cp932->size() <= kMaxUserNameBytes);
        FUZZ_CHECK(!storedUserNameProblem(*cp932));
        checkStaysInUserFolder(*cp932);
    }
    return 0;
}
