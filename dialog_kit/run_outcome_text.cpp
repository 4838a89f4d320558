#include "dialog_kit/run_outcome_text.h"

#include <QStringList>

namespace {

constexpr int kRefusedNamed = 8;  // a longer list ends in "ほか N 項目"

QString StepName(const CStepList& steps, int k) {
    if (steps.name) return QString::fromStdString(steps.name(k));
    if (steps.describe) return QString::fromStdString(steps.describe(k));
    return QString::number(k);
}

QString RefusedList(const CRunOutcome& outcome, const CStepList& steps) {
    QStringList names;
    const int n = static_cast<int>(outcome.refused.size());
    for (int i = 0; i < n && i < kRefusedNamed; ++i) names << StepName(steps, outcome.refused[i]);
    QString list = names.join("、");
    if (n > kRefusedNamed) list += QString(" ほか %1 項目").arg(n - kRefusedNamed);
    return list;
}

QString RefusedNote(const CRunOutcome& outcome, const CStepList& steps) {
    if (outcome.refused.empty()) return {};
    return "（送信しなかった項目: " + RefusedList(outcome, steps) + "）";
}

QString DoneText(const CRunOutcome& outcome, const CStepList& steps, RunVerb verb) {
    if (verb == RunVerb::kRead) return QString("全 %1 項目を読み込みました").arg(outcome.nSteps);
    if (outcome.refused.empty()) return QString("全 %1 項目を送信しました").arg(outcome.nSteps);
    return QString("全 %1 項目のうち %2 項目を送信しました")
               .arg(outcome.nSteps)
               .arg(outcome.nSteps - static_cast<int>(outcome.refused.size())) +
           RefusedNote(outcome, steps);
}

// "エラー応答 Command Error のため、ステップ 70（メモリ 06）で停止しました"
QString ErrorText(const CRunOutcome& outcome, const CStepList& steps, RunVerb verb) {
    QString what = "エラー応答";
    if (!outcome.strReply.empty()) {
        const QString reply = QString::fromStdString(outcome.strReply);
        what = outcome.bErrorReply ? what + " " + reply : reply;
        what += " ";
    }
    QString where;
    if (outcome.nFaultStep > 0) {
        where = QString("ステップ %1（%2）で")
                    .arg(outcome.nFaultStep)
                    .arg(StepName(steps, outcome.nFaultStep));
    } else {
        where = verb == RunVerb::kRead ? "読み込みの前に" : "送信の前に";
    }
    return what + "のため、" + where + "停止しました";
}

}  // namespace

QString RunOutcomeText(const CRunOutcome& outcome, const CStepList& steps, RunVerb verb) {
    switch (outcome.end) {
        case RunEnd::kDone:
            return DoneText(outcome, steps, verb);
        case RunEnd::kErrorReply:
            return ErrorText(outcome, steps, verb) + RefusedNote(outcome, steps);
        case RunEnd::kNoConnect:
            return "No Connect のため停止しました" + RefusedNote(outcome, steps);
        case RunEnd::kPortLost:
            return "ポートが失われたため停止しました" + RefusedNote(outcome, steps);
        case RunEnd::kStopped:
            return "中止しました" + RefusedNote(outcome, steps);
    }
    return {};
}
