#include "cli/fleet_tasks.h"

#include <unistd.h>

#include "cli/exit_codes.h"
#include "cli/fleet_backup.h"
#include "protocol/fields.h"

namespace {

const char* ModelText(int model) {
    return model == 1 ? "64" : "32";
}

// The switcher's own line: its port, framing and (where it matters) model.
std::vector<std::string> LineArgs(const CFleetPlan& plan, const CFleetSwitcher& switcher,
                                  bool bModel) {
    std::vector<std::string> argv = {plan.strSelf, "--progress-lines"};
    if (!plan.strProfile.empty()) argv.insert(argv.end(), {"--profile", plan.strProfile});
    if (plan.nWaitS > 0) argv.insert(argv.end(), {"--wait", std::to_string(plan.nWaitS)});
    argv.insert(argv.end(), {"--port", switcher.strPort});
    if (switcher.nAddress >= 0) {
        argv.insert(argv.end(), {"--rs485", TwoDigits(switcher.nAddress)});
    } else {
        argv.emplace_back("--rs232");
    }
    if (bModel && switcher.nModel >= 0)
        argv.insert(argv.end(), {"--model", ModelText(switcher.nModel)});
    return argv;
}

// "05 Qelvar-32" on RS-485, "Qelvar-32" on RS-232C: the answer's text.
std::string AnswerOf(const CFleetSwitcher& switcher, const std::vector<std::string>& out) {
    if (out.empty()) return "";
    const std::string& line = out.front();
    return switcher.nAddress >= 0 && line.size() > 3 ? line.substr(3) : line;
}

// The report shows the answer itself; a detail says only what is wrong with it.
void JudgeCheck(const CFleetSwitcher& switcher, CFleetResult& result) {
    const std::string& answer = result.strAnswer;
    const int model = answer == "Qelvar-32" ? 0 : answer == "Qelvar-64" ? 1 : -1;
    if (model < 0) {
        result.nStatus = kExitErrorReply;
        result.details.insert(result.details.begin(), "the answer tells no model");
    } else if (switcher.nModel >= 0 && model != switcher.nModel) {
        result.nStatus = kExitDiffers;
        result.details.insert(result.details.begin(),
                              std::string("the inventory says ") + ModelText(switcher.nModel));
    }
}

void LandRead(const CFleetPlan& plan, CFleetResult& result) {
    const std::string& name = result.switcher.strName;
    const std::string path = BackupPath(plan.strBackupDir, name);
    std::string error;
    switch (LandBackup(BackupReadPath(plan.strBackupDir, name), path, error)) {
        case BackupLanding::kWritten:
            result.details = {"written to " + path};
            break;
        case BackupLanding::kUnchanged:
            result.details = {path + " unchanged"};
            break;
        case BackupLanding::kFailed:
            result.nStatus = kExitCannotOpen;
            result.details.insert(result.details.begin(), "cannot write " + path + ": " + error);
            break;
    }
}

}  // namespace

CFleetTask FleetTaskFor(const CFleetPlan& plan, const CFleetSwitcher& switcher) {
    CFleetTask task;
    switch (plan.command) {
        case FleetCommand::kCheck:
            task.argv = LineArgs(plan, switcher, false);
            task.argv.insert(task.argv.end(), {"scan", "--single"});
            task.strFirstState = "asking";
            break;
        case FleetCommand::kSend:
            task.argv = LineArgs(plan, switcher, false);
            task.argv.insert(task.argv.end(), {"send", switcher.strFile, "--pace", "ack"});
            if (plan.bVerify) task.argv.emplace_back("--verify");
            task.phases = {"sending", "verifying"};
            break;
        case FleetCommand::kDiff:
            task.argv = LineArgs(plan, switcher, false);
            task.argv.insert(task.argv.end(), {"diff", switcher.strFile});
            task.phases = {"reading"};
            break;
        case FleetCommand::kBackup:
            task.argv = LineArgs(plan, switcher, true);
            task.argv.insert(
                task.argv.end(),
                {"read", BackupReadPath(plan.strBackupDir, switcher.strName), "--pace", "ack"});
            task.phases = {"reading"};
            break;
    }
    if (task.strFirstState.empty()) task.strFirstState = "connecting";
    return task;
}

CFleetResult FleetResultOf(const CFleetPlan& plan, const CFleetSwitcher& switcher,
                           const CFleetOutcome& outcome) {
    CFleetResult result;
    result.switcher = switcher;
    result.nStatus = outcome.nStatus;
    result.dSeconds = outcome.dSeconds;
    // The differences come first, then what went wrong or was warned of.
    const bool bOutIsDetail =
        plan.command == FleetCommand::kSend || plan.command == FleetCommand::kDiff;
    if (bOutIsDetail) result.details = outcome.out;
    result.details.insert(result.details.end(), outcome.err.begin(), outcome.err.end());
    if (plan.command == FleetCommand::kCheck && outcome.nStatus == kExitOk) {
        result.strAnswer = AnswerOf(switcher, outcome.out);
        JudgeCheck(switcher, result);
    }
    if (plan.command == FleetCommand::kBackup && outcome.nStatus == kExitOk) LandRead(plan, result);
    if (plan.command == FleetCommand::kBackup && outcome.nStatus != kExitOk) {
        ::unlink(BackupReadPath(plan.strBackupDir, switcher.strName).c_str());
    }
    result.strResult =
        outcome.bNotRun ? "not run" : FleetResultWord(plan.command, result.nStatus, outcome.err);
    return result;
}
