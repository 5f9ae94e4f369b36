// help.hlp: CP932 text with numbered topics. "@topic N Title" starts topic N; the lines up to the
// next "@topic" are its body. In a body an empty line separates paragraphs, "■" starts a heading
// and "・" a bullet. Lines starting with ";" are comments.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace keyrook {

struct HelpTopic {
    int number = 0;
    std::string title;               // UTF-8
    std::vector<std::string> lines;  // UTF-8
};

std::map<int, HelpTopic> parseHelpFile(const std::string& cp932Text);

// The topic as HTML for a text browser.
std::string helpTopicHtml(const HelpTopic& topic);

}  // namespace keyrook
