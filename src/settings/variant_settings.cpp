#include "settings/variant_settings.h"

#include "settings/text_form.h"

namespace keyrook {
namespace {

// Why a list of count spellings is refused (UTF-8).
std::string tooManySpellings(std::size_t count) {
    return "綴りが " + std::to_string(count) + " 個あります（" + std::to_string(kMaxSpellings) +
           " 個まで）";
}

}  // namespace

std::vector<std::string> loadVariantSettings(const IniDocument& ini, VariantTable& variants) {
    std::vector<std::string> problems;
    for (VariantGroup& g : variants.groups()) {
        const std::string section = "RadioGroup" + std::to_string(g.number);
        if (!ini.sectionExists(section)) continue;
        // The list lines are the entries whose key starts with "Items", in file order.
        std::vector<std::string> lines;
        for (const auto& [key, value] : ini.sectionValues(section))
            if (key.rfind("Items", 0) == 0) lines.push_back(value);
        if (!lines.empty()) {
            std::vector<std::string> items = g.items;
            try {
                textFormToStrings(lines, items);
                if (items.size() > kMaxSpellings)
                    problems.push_back("[" + section + "] Items: " + tooManySpellings(items.size()));
                else
                    g.items = std::move(items);
            } catch (const TextFormError& e) {
                problems.push_back("[" + section + "] Items: " + e.what());
            }
        }
        if (ini.valueExists(section, "ItemIndex")) {
            auto index = parseIniInteger(*ini.value(section, "ItemIndex"));
            if (index)
                g.itemIndex = *index;
            else
                problems.push_back("[" + section + "] ItemIndex: not a number");
        }
    }
    return problems;
}

bool kanaInputChosen(const IniDocument& ini) { return ini.readInteger("chkKana", "Checked", 0) != 0; }

}  // namespace keyrook
