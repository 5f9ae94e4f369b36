// Ratings of a finished typing session: speed, reflexes, accuracy, the overall evaluation and
// the score bonus, plus the number and time texts shared with the other result displays.
// Each rating operation appends its record fields to the record line it is given, so the
// order of the calls fixes the order of the fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keyrook {

// Calendar time of a session's end, taken as a value so records do not depend on the locale
// or on the moment a test runs.
struct DateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// One row of the result list: the question and the times measured for it.
struct QuestionRow {
    int number = 0;                   // "No.", 1-based
    std::string question;             // CP932
    int bytes = 0;                    // bytes of romaji to type
    std::optional<int> reactionMs;    // set at the question's first correct key
    std::optional<int> typingMs;      // set when the question is completed
    std::string speedIndex;           // ms per byte, one decimal ("102.8")

    // Caption and the five cells as the list shows them (times empty until measured).
    std::vector<std::string> texts() const;
};

// What a finished session hands to the result procedure.
struct SessionFigures {
    bool invader = false;
    std::string user;     // CP932
    std::string title;    // CP932, the typing window's title
    DateTime ended;
    std::vector<QuestionRow> rows;
    int hitCount = 0;     // correct keys (counts as the characters typed in an invader session)
    int survivalMs = 0;   // invader session: start command to game over
    int missCount = 0;
    int maxCombo = 0;
    int score = 0;        // the in-play score as the score label shows it
};

// trunc(x + 0.5)
long long halfUp(long double x);
// Nearest integer, an exact half going to the even neighbour.
long long roundHalfEven(long double x);

// A number as text: 15 significant digits, "." as the point, no trailing zeros, no exponent
// (245.3, 245). Independent of the C locale, which Qt sets from the environment.
std::string floatText(long double value);
// A number with a fixed count of decimals, halves rounded away from zero after rounding to 15
// significant digits (so binary noise such as 2.4999999999999 still reads 2.5).
std::string formatFixed(long double value, int decimals);
// Reads a number written by floatText or formatFixed; nullopt when the text is none.
std::optional<long double> parseNumber(std::string_view text);

// Speed index of a completed question: ms per byte rounded half-up to one decimal, always with
// a decimal point ("85.0", "0.0").
std::string speedIndexText(int typingMs, int bytes);

std::string SplitThousand(long long n);       // 1234567 -> "1,234,567"
std::string ChangeTime(long long ms);         // 60230 -> "1:00`23"
int Checksum(std::string_view cp932);         // twice the byte sum, 32-bit
std::string withChecksum(std::string line);   // line + "," + its Checksum, as stored lines end

// F(x) of the bonus multiplier.
int bonusFactor(int rating);

struct SpeedRating {
    int parameter = 0;       // 0..100 (before the bar clamps it)
    int typingTime = 0;      // ms; the survival time after an invader session
    long double speed = 0;   // romaji bytes per minute, one decimal
    std::string lblTime;
    std::string lblAverage;
};
SpeedRating GetSpeed(const SessionFigures& figures, std::string& recordLine);

int GetReflection(const SessionFigures& figures);

struct AccuracyRating {
    int parameter = 0;
    long double missRate = 0;  // percent, three decimals
    std::string lblMiss;
};
AccuracyRating GetAccuracy(const SessionFigures& figures, std::string& recordLine);

struct Evaluation {
    int evaluation = 0;  // 0..100
    int bonus = 0;
    int score = 0;       // in-play score plus bonus, held at the 32-bit maximum
    std::string lblScore;
    std::string lblBonus;
};
// speed, reflex and accuracy as the bars hold them (they are clamped to 0..100 here as well).
Evaluation GetEvaluation(const SessionFigures& figures, int speed, int reflex, int accuracy,
                         std::string& recordLine);

}  // namespace keyrook
