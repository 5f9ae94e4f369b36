// Everything the result dialog TFin shows for a finished session, computed without a window:
// the figures, the four rating bars, the differences from the previous session of the same
// title with their colours, the question rows and the record line that "&OK" stores. Also the
// report text of "&Save". Members are named after the dialog's controls.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "typing/scoring.h"

namespace keyrook {

inline constexpr std::uint32_t kResultWhite = 0xFFFFFF;
inline constexpr std::uint32_t kResultAqua = 0x00FFFF;
inline constexpr std::uint32_t kResultGrey = 0x808080;

struct ResultLabel {
    std::string caption;               // CP932
    std::uint32_t colour = kResultWhite;  // RGB
};

struct ResultModel {
    bool invader = false;

    ResultLabel lbldate;  // "Date : 20" + field 1
    ResultLabel lblTheme;
    ResultLabel lblScore;
    ResultLabel lblTime;
    ResultLabel lblMiss;
    ResultLabel lblAverage;
    ResultLabel lblMaxcombo;
    ResultLabel lblBonus;

    // Differences from the previous session; empty when there is none.
    ResultLabel lblScore_;
    ResultLabel lblTime_;
    ResultLabel lblMiss_;
    ResultLabel lblAverage_;
    ResultLabel lblMaxCombo_;

    std::array<int, 4> barPositions{};        // ProgressBarREX1..4, 0..100
    std::array<ResultLabel, 4> lblResult;     // lblResult1..4
    std::array<ResultLabel, 4> lblResult_;    // lblResult1_..4_

    std::vector<QuestionRow> rows;  // the list `ls`
    std::string recordLine;         // the 14-field line, checksum included

    // Kept for the comparison with the previous session.
    int typingTime = 0;
    long double speed = 0;
    long double missRate = 0;
    int score = 0;
    int maxCombo = 0;

    // Every label with its control name ("lblResult1_", ...), for the dialog to apply.
    std::vector<std::pair<std::string, const ResultLabel*>> labels() const;
};

// The result procedure on given figures; previous holds the fields of the last record of the
// same title (nullopt: first session of the title).
ResultModel buildResultModel(const SessionFigures& figures,
                             const std::optional<std::vector<std::string>>& previous);

// The same with the previous record looked up in the record file at recordPath (which the
// lookup creates with one empty line when it is missing).
ResultModel makeResult(const SessionFigures& figures, const std::string& recordPath);

// Captions of lblParam1..4 (CP932): "ﾀｲﾌﾟ速度", "反射神経", "ﾀｲﾌﾟ精度", "総合評価".
const std::array<std::string, 4>& parameterNames();

// The report file of "&Save" (CP932, CR LF): the model's figures and ratings, then the rows
// the list holds at the moment of saving.
std::string reportText(const ResultModel& model, const std::vector<QuestionRow>& rows);

}  // namespace keyrook
