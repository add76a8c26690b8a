#include "Rate.h"
#include "Error.h"

namespace tables {

const Rate& rateForOutcome(std::span<const Rate> rates, int outcome)
{
    for (const Rate& rate : rates) {
        if (outcome >= 0 && outcome < rate.outcomes) return rate;
        outcome -= rate.outcomes;
    }
    throw Error(QStringLiteral("負担率の抽選結果が範囲外です。処理を中止しました。"));
}

} // namespace tables
