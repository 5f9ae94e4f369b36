#include "settings/text_form.h"

#include <gtest/gtest.h>

#include <random>

namespace keyrook {
namespace {

using Lines = std::vector<std::string>;

const std::string kHgpGothicE = "HGP\xBA\xDE\xBC\xAF\xB8" "E";           // HGPｺﾞｼｯｸE
const std::string kMsGothic = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック

TEST(TextForm, QuotesPrintableBytesAndNumbersTheRest) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "''"},
        {"SHI", "'SHI'"},
        {"it's", "'it'#39's'"},
        {"'", "#39"},
        {"\tx\r\n", "#9'x'#13#10"},
        {kMsGothic, "'" + kMsGothic + "'"},  // Shift-JIS bytes stay inside the quotes
        {"a\x7F", "'a\x7F'"},
    };
    for (const auto& [in, want] : cases) EXPECT_EQ(quoteTextFormString(in), want) << want;
}

TEST(TextForm, WritesStringListsLineByLine) {
    EXPECT_EQ(stringsToTextForm({"SI", "SHI"}),
              (Lines{"  Obj.Strings = (", "    'SI'", "    'SHI')"}));
    EXPECT_EQ(stringsToTextForm({""}), (Lines{"  Obj.Strings = (", "    '')"}));
    EXPECT_TRUE(stringsToTextForm({}).empty());

    // Over 64 bytes: the string moves to its own lines, 64 bytes each, joined by " +".
    const std::string a64(64, 'A');
    EXPECT_EQ(stringsToTextForm({std::string(70, 'A')}),
              (Lines{"  Obj.Strings = (", "    ", "      '" + a64 + "' +", "      'AAAAAA')"}));
    // A two-byte character at the break moves whole to the next line.
    const std::string a63(63, 'A');
    EXPECT_EQ(stringsToTextForm({a63 + "\x82\xA0" "B"}),
              (Lines{"  Obj.Strings = (", "    ", "      '" + a63 + "' +",
                     "      '\x82\xA0" "B')"}));
}

TEST(TextForm, WritesFontsWithNamesWhereTheyExist) {
    FontSpec question{charsets::SHIFTJIS_CHARSET, colors::clWhite, -24, kHgpGothicE,
                      FontPitch::Default, 0};
    EXPECT_EQ(fontToTextForm(question),
              (Lines{"  Obj.Charset = SHIFTJIS_CHARSET", "  Obj.Color = clWhite",
                     "  Obj.Height = -24", "  Obj.Name = '" + kHgpGothicE + "'",
                     "  Obj.Style = []"}));
    FontSpec odd{200, 0x123456, 27, kMsGothic, FontPitch::Fixed, fsBold | fsStrikeOut};
    EXPECT_EQ(fontToTextForm(odd),
              (Lines{"  Obj.Charset = 200", "  Obj.Color = 1193046", "  Obj.Height = 27",
                     "  Obj.Name = '" + kMsGothic + "'", "  Obj.Pitch = fpFixed",
                     "  Obj.Style = [fsBold, fsStrikeOut]"}));
    EXPECT_EQ(colorToText(colors::clWindowText), "clWindowText");
    EXPECT_EQ(colorToText(0x00FF8000), "16744448");
}

TEST(TextForm, WhatIsWrittenReadsBackTheSame) {
    std::string mixed;
    for (int i = 0; i < 40; ++i) mixed += i % 3 ? "\x82\xA0" : "x'\t";
    const std::vector<Lines> lists = {
        {"SI", "SHI"}, {""}, {"it's", "'", "''", "#39"}, {"\x01\x1F", mixed}, {std::string(130, 'z')},
    };
    for (const auto& items : lists) {
        Lines read = {"old"};
        textFormToStrings(stringsToTextForm(items), read);
        EXPECT_EQ(read, items);
    }
    Lines untouched = {"old"};
    textFormToStrings(stringsToTextForm({}), untouched);  // no lines: the list stays
    EXPECT_EQ(untouched, Lines{"old"});

    const FontSpec fonts[] = {
        {charsets::SHIFTJIS_CHARSET, colors::clWhite, -24, kHgpGothicE, FontPitch::Default, 0},
        {77, -5, 9, mixed, FontPitch::Variable, fsItalic | fsUnderline},
        {0, colors::clNone, 0, "", FontPitch::Fixed, 15},
    };
    for (const auto& font : fonts) {
        FontSpec read;
        textFormToFont(fontToTextForm(font), read);
        EXPECT_EQ(read, font) << font.name;
    }
}

TEST(TextForm, ReadsHandEditedAndOtherWritersForms) {
    Lines items;
    textFormToStrings({"Obj.Strings=('it''s' #$41#66'C'", "'x' +", "  'y'#12354)"}, items);
    EXPECT_EQ(items, (Lines{"it's", "ABC", "xy\x82\xA0"}));

    FontSpec font;
    font.name = "keep";
    textFormToFont({"obj.color = CLWHITE", "Obj.Size = 18", "Obj.Charset = 128"}, font);
    EXPECT_EQ(font.color, colors::clWhite);
    EXPECT_EQ(font.height, -24);
    EXPECT_EQ(font.charset, charsets::SHIFTJIS_CHARSET);
    EXPECT_EQ(font.name, "keep");  // not mentioned: unchanged
    textFormToFont({"Obj.Color = $FF000008"}, font);
    EXPECT_EQ(font.color, colors::clWindowText);
}

TEST(TextForm, BrokenFormsFailWithALineAndChangeNothing) {
    struct Case {
        Lines lines;
        int line;
        bool font;
    };
    const Case cases[] = {
        {{"  Obj.Strings = (", "    'SI"}, 1, false},
        {{"  Obj.Strings ("}, 0, false},
        {{"  Obj.Foo = 1"}, 0, false},
        {{"  Obj.Strings = (", "    1)"}, 0, false},
        {{"  Obj.Strings = ("}, -1, false},
        {{"object TStreamingDummy", "end"}, 0, false},
        {{"  Obj.Strings = 'a' +"}, -1, false},
        {{"  Obj.Strings = " + std::string(5000, '(')}, 0, false},
        {{"  Obj.Strings = {00FF}"}, 0, false},
        {{"  Obj.Strings = (", "    #)"}, 1, false},
        {{"  Obj.Strings = (", "    #99999)"}, 1, false},
        {{"  Obj.Strings = @"}, 0, false},
        {{"  = 1"}, 0, false},
        {{"  Obj.Height = 'x'"}, 0, true},
        {{"  Obj.Color = clPlaid"}, 0, true},
        {{"  Obj.Charset = 300"}, 0, true},
        {{"  Obj.Style = [fsBold, fsWavy]"}, 0, true},
        {{"  Obj.Style = [fsBold fsItalic]"}, 0, true},
        {{"  Obj.Height = 99999999999"}, 0, true},
        {{"  Obj.Height = 1.5"}, 0, true},
        {{"  Obj.Pitch = 1"}, 0, true},
        {{"  Obj.Name = 'changed'", "  Obj.Height = "}, -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.front());
        try {
            if (c.font) {
                FontSpec font;
                const FontSpec before = font;
                textFormToFont(c.lines, font);
                ADD_FAILURE() << "parsed";
                EXPECT_EQ(font, before);
            } else {
                Lines items = {"old"};
                textFormToStrings(c.lines, items);
                ADD_FAILURE() << "parsed";
            }
        } catch (const TextFormError& e) {
            EXPECT_EQ(e.line(), c.line);
            EXPECT_STRNE(e.what(), "");
        }
    }
    // The target is untouched when a later line fails.
    FontSpec font;
    EXPECT_THROW(textFormToFont({"  Obj.Name = 'changed'", "  Obj.Height = "}, font),
                 TextFormError);
    EXPECT_EQ(font, FontSpec{});
}

TEST(TextForm, DamagedFormsNeverCrash) {
    const Lines seeds[] = {
        stringsToTextForm({"SI", "SHI", std::string(100, 'q') + "'\x82\xA0"}),
        fontToTextForm({charsets::SHIFTJIS_CHARSET, colors::clWhite, -24, kHgpGothicE,
                        FontPitch::Fixed, fsBold}),
    };
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        Lines lines = seeds[round % 2];
        for (int edits = 1 + static_cast<int>(rng() % 4); edits > 0; --edits) {
            std::string& l = lines[rng() % lines.size()];
            std::size_t at = l.empty() ? 0 : rng() % l.size();
            switch (rng() % 3) {
            case 0:
                if (!l.empty()) l.erase(at, 1);
                break;
            case 1:
                l.insert(at, 1, "'#()[]=+,${<$.-9\x82\xFF\x00"[rng() % 20]);
                break;
            default:
                if (!l.empty()) l[at] = static_cast<char>(rng() % 256);
            }
        }
        try {
            Lines items;
            textFormToStrings(lines, items);
            FontSpec font;
            textFormToFont(lines, font);
        } catch (const TextFormError&) {
        }
    }
}

}  // namespace
}  // namespace keyrook
