#include "dialogs/settings_compare_dlg.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

#include "batch/cycle_steps.h"
#include "batch/settings_compare.h"
#include "dialog_kit/corner_clicks.h"
#include "dialog_kit/dialog_builder.h"
#include "dialog_kit/qt_text.h"
#include "model/settings_diff_text.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "res/batch_dialogs.h"
#include "sink/message_sink.h"

namespace {

const char kSame[] = "スイッチャーはメモリ上の設定を保持しています。";
const char kIncomplete[] = "応答のなかった読み込みがあるため、照合できません: ";
const char kNoTitle[] = "（なし）";

// The table as the 設定 menu names it.
QString TableName(SettingsTable table) {
    switch (table) {
        case SettingsTable::kSeqTime:
            return "オート・シーケンス";
        case SettingsTable::kMemory:
            return "出力切換え";
        case SettingsTable::kTitlePosition:
            return "タイトル表示位置";
        case SettingsTable::kInTitleDisp:
            return "入力タイトル表示";
        case SettingsTable::kOutTitleDisp:
            return "出力タイトル表示";
        case SettingsTable::kInCalendarDisp:
            return "入力カレンダ表示";
        case SettingsTable::kOutCalendarDisp:
            return "出力カレンダ表示";
        case SettingsTable::kDateFormat:
            return "カレンダ";
        case SettingsTable::kTitle:
            return "タイトル";
    }
    return {};
}

// The entry as the editors' grids name it: "ch12", "in05", "out07".
QString ItemName(const CSettingsDifference& d) {
    const QString index = Text(TwoDigits(d.nIndex));
    switch (d.table) {
        case SettingsTable::kSeqTime:
            return "パターン" + Text(TwoDigits(d.nRow)) + " ch" + index;
        case SettingsTable::kMemory:
            return "メモリ" + Text(TwoDigits(d.nRow)) + " out" + index;
        case SettingsTable::kDateFormat:
            return "日付の表示";
        default:
            return (IsInputTable(d.table) ? "in" : "out") + index;
    }
}

QString DifferingText(size_t n) {
    return QString("%1 項目が異なります。").arg(n);
}

QString ValueText(const CSettingsDifference& d, DiffSide side) {
    if (d.table == SettingsTable::kTitle) {
        const std::string& title = side == DiffSide::kFile ? d.strFile : d.strSwitcher;
        if (title.empty()) return kNoTitle;
    }
    return Text(DifferenceValueText(d, side, InputChannelCount()));
}

}  // namespace

CSettingsCompareDlg::CSettingsCompareDlg(QWidget* parent)
    : CBatchRunDlg(SettingsCompareTemplate(), IDC_COMPARE_START, IDC_COMPARE_PERCENT,
                   IDC_COMPARE_PROGRESS, Closing::kEndsTheRun, parent) {
    g_nCornerClicks = 0;
}

CStepList CSettingsCompareDlg::Steps() const {
    return CompareReadSteps();
}

QString CSettingsCompareDlg::StepText(int k, int nSteps) const {
    return QString::number(ReadBackPercent(k, nSteps));
}

// A compare stopped early compares nothing; the settings in memory stay as
// they are either way.
void CSettingsCompareDlg::OnRunEnded(const CRunOutcome& outcome, const CStepList& steps) {
    if (!outcome.Done()) {
        SetStatus(RunOutcomeText(outcome, steps, RunVerb::kRead));
        return;
    }
    const CCompareResult result = CompareWithReadCopy();
    if (!result.Complete()) {
        const std::string text = kIncomplete + ReadRequestList(result.missing);
        SetStatus(Text(text));
        ShowWarning(text);
    } else if (result.differences.empty()) {
        SetStatus(kSame);
        ShowNotice(kSame);
    } else {
        SetStatus(DifferingText(result.differences.size()));
        CCompareResultDlg(result.differences, this).exec();
    }
}

CCompareResultDlg::CCompareResultDlg(const std::vector<CSettingsDifference>& diffs, QWidget* parent)
    : QDialog(parent) {
    BuildDialog(*this, CompareResultTemplate());
    FindControl<QLabel>(*this, IDC_COMPARE_SUMMARY)->setText(DifferingText(diffs.size()));
    m_pList = FindControl<QTreeWidget>(*this, IDC_COMPARE_LIST);
    QList<QTreeWidgetItem*> rows;
    for (const auto& d : diffs) {
        rows << new QTreeWidgetItem(QStringList{TableName(d.table), ItemName(d),
                                                ValueText(d, DiffSide::kFile),
                                                ValueText(d, DiffSide::kSwitcher)});
    }
    m_pList->addTopLevelItems(rows);
    // Each column as wide as its widest text, with room to tell the columns apart.
    const int gap = m_pList->fontMetrics().horizontalAdvance("MM");
    for (int column = 0; column + 1 < m_pList->columnCount(); ++column) {
        m_pList->resizeColumnToContents(column);
        m_pList->setColumnWidth(column, m_pList->columnWidth(column) + gap);
    }
    if (!rows.isEmpty()) m_pList->setCurrentItem(rows.front());
}
