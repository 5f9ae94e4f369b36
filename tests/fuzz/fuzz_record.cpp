// Session record files and the record viewer built on them: the line checks, the title choices,
// the rows of every title with their columns, sorting, details and graphs. Round trips: a
// record line built from any name and title is valid and found again, and a record appended
// to any file is the one the next session compares with.
#include <fstream>

#include "base/files.h"
#include "base/paths.h"
#include "fuzz_check.h"
#include "records/graph_series.h"
#include "records/record_log.h"
#include "typing/record_file.h"

using namespace keyrook;

namespace {

const std::string& appDir() {
    static const std::string dir = [] {
        std::string d = fuzzScratchPath("fuzz_record_files") + "/";
        saveStringToFile(d + "user/f.rec", "");
        return d;
    }();
    return dir;
}

void writeRaw(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzzInput(data, size);
    const std::string path = Paths(appDir()).userFile("f", ".rec");
    checkRecordLines(text);
    for (const std::string& line : splitNonEmptyLines(text)) {
        splitRecordFields(line);
        isValidRecordLine(line);
    }

    writeRaw(path, text);
    RecordLog log(appDir());
    log.lstUserMouseUp({"f"});
    FUZZ_CHECK(log.titles() == recordTitles(text));
    std::size_t shown = 0;
    for (const std::string& title : log.titles()) {
        if (shown++ == 4) break;
        log.cmbTitleChange({"f"}, title, DateTime{2024, 3, 25, 12, 0, 0});
        FUZZ_CHECK(log.rows().size() == titleSessions(text, title).size());
        for (int k = 1; k <= kLogColumns; ++k) log.lslogColumnClick(k);
        for (const LogRow& row : log.rows()) {
            for (int k = 1; k <= kLogColumns; ++k) row.column(k);
            logDetails(row);
        }
        for (const GraphMetric& m : graphMetrics())
            GetGraph(log, m.column, m.suffixPosition, m.suffixLength);
        log.graphRefusal(1);
    }

    // Any text as a name and title goes into a record line that checks and reads back.
    const std::string field = recordFieldText(text.substr(0, 64));
    const std::string body = "24/03/25 9:00:00," + field + "," + field + ",83500,300,5,500,40,900,90,80,70,60";
    const std::string line = body + "," + std::to_string(Checksum(body));
    FUZZ_CHECK(isValidRecordLine(line));
    const std::vector<std::string> fields = splitRecordFields(line);
    FUZZ_CHECK(fields.size() == 14 && fields[2] == field);
    FUZZ_CHECK(titleSessions(line + "\r\n", field).size() == 1);

    writeRecord(path, line);
    const auto previous = findPreviousRecord(path, text.substr(0, 64));
    FUZZ_CHECK(previous && *previous == fields);
    return 0;
}
