#include "reflex/reflex_levels.h"

#include <algorithm>

#include "base/cp932.h"
#include "typing/scoring.h"

namespace keyrook {
namespace {

// The condition line is two parts joined by an ideographic space.
std::array<std::string, 3> lines(const char* name, const char* condition, const char* mean,
                                 const char* mistypes) {
    return {cp932Of(name), cp932Of(condition) + cp932Of("\u3000") + cp932Of(mean), cp932Of(mistypes)};
}

const std::array<ReflexLevel, kReflexLevels>& table() {
    static const std::array<ReflexLevel, kReflexLevels> levels = {{
        {70, std::nullopt, std::nullopt,
         lines("◆ 初心者ﾚﾍﾞﾙ （ﾊﾟｿｺﾝ初心者）", "到達条件 : 破壊率 70%以上", "平均反射神経時間なし",
               "ﾐｽﾀｲﾌﾟ 制限なし")},
        {72, 1250, 50,
         lines("◆ 脱初心者ﾚﾍﾞﾙ （初心者脱出程度）", "到達条件 : 破壊率 72%以上",
               "平均反射神経時間1250msec以内", "ﾐｽﾀｲﾌﾟ 50ﾀｲﾌﾟ以下")},
        {75, 1200, 30,
         lines("◆ 中級者ﾚﾍﾞﾙ （ﾊﾟｿｺﾝ歴半年以上）", "到達条件 : 破壊率 75%以上",
               "平均反射神経時間 1200msec以内", "ﾐｽﾀｲﾌﾟ 30ﾀｲﾌﾟ以下")},
        {75, 1100, 20,
         lines("◆ 上級者ﾚﾍﾞﾙ （ﾊﾟｿｺﾝ歴1年以上）", "到達条件 : 破壊率 75%以上",
               "平均反射神経時間 1100msec以内", "ﾐｽﾀｲﾌﾟ 20ﾀｲﾌﾟ以下")},
        {80, 1050, 15,
         lines("◆ ｴｷｽﾊﾟｰﾄﾚﾍﾞﾙ （ﾌﾞﾗｲﾝﾄﾞﾀｯﾁﾚﾍﾞﾙ）", "到達条件 : 破壊率 80%以上",
               "平均反射神経時間 1050msec以内", "ﾐｽﾀｲﾌﾟ 15ﾀｲﾌﾟ以下")},
        {80, 1000, 10,
         lines("◆ ﾌﾟﾛﾌｪｯｼﾅﾙﾚﾍﾞﾙ （ﾌﾞﾗｲﾝﾄﾞﾀｯﾁﾊﾞﾘﾊﾞﾘﾚﾍﾞﾙ）", "到達条件 : 破壊率 80%以上",
               "平均反射神経時間 1000msec以内", "ﾐｽﾀｲﾌﾟ 10ﾀｲﾌﾟ以下")},
    }};
    return levels;
}

}  // namespace

const ReflexLevel& reflexLevel(int level) {
    return table()[static_cast<std::size_t>(std::clamp(level, 1, kReflexLevels) - 1)];
}

std::optional<long long> shownMeanReaction(long long reactionSumMs, int hits) {
    if (hits <= 0) return std::nullopt;
    return roundHalfEven(static_cast<long double>(reactionSumMs) / hits + 0.5L);
}

bool Judgement(long long reactionSumMs, int hits, int misses, int level, long double rate) {
    const ReflexLevel& l = reflexLevel(level);
    const std::optional<long long> mean = shownMeanReaction(reactionSumMs, hits);
    if (!mean) return false;
    if (rate < l.minimumRate) return false;
    if (l.meanLimitMs && *mean > *l.meanLimitMs) return false;
    if (l.mistypeLimit && misses > *l.mistypeLimit) return false;
    return true;
}

}  // namespace keyrook
