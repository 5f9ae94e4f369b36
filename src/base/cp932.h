// Shift-JIS (code page 932) text. Everything on disk is CP932; core code keeps such text as
// std::string holding the raw bytes. UTF-8 appears only at the window edge and in file names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace keyrook {

// Text whose encoding the signature names. Both are std::string, so the name is what keeps
// them apart: CP932 bytes are what files, engines and their views hold; UTF-8 is what message
// boxes show, the command line passes and file names are. Convert where they meet, with
// cp932ToUtf8 and utf8ToCp932 (fromCp932 and toCp932 in the windows).
using Cp932Text = std::string;
using Utf8Text = std::string;

// First byte of a two-byte character: 0x81..0x9F or 0xE0..0xFC.
inline bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// CP932 bytes to UTF-8. Bytes that are no CP932 character become U+FFFD, so damaged files
// still show what can be shown.
std::string cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932; nullopt when the text is not valid UTF-8 or holds a character CP932 lacks.
std::optional<std::string> utf8ToCp932(std::string_view utf8);
// The same into out, replacing what it held (its storage is reused); false when utf8ToCp932
// gives nullopt, out then unspecified.
bool utf8ToCp932(std::string_view utf8, std::string& out);

// The CP932 form of one of the program's own texts (written in UTF-8 in the source); empty for a
// text CP932 cannot hold.
std::string cp932Of(std::string_view utf8);

bool isValidUtf8(std::string_view text);

// The UTF-8 bytes of a code point up to U+10FFFF.
std::string utf8Of(std::uint32_t codePoint);

// The upper-case letter of an ASCII a to z; any other byte as it is.
inline char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Upper- or lower-cases the ASCII letters of a CP932 string, leaving two-byte characters alone
// (their trail byte can look like a lower-case letter).
std::string upperCp932(std::string_view cp932);
std::string lowerCp932(std::string_view cp932);

// Name comparison without regard to letter case, as user names, INI sections and keys are compared.
bool sameTextIgnoreCase(std::string_view a, std::string_view b);

// Number of characters (one- or two-byte) in a CP932 string.
std::size_t cp932Length(std::string_view cp932);

}  // namespace keyrook
