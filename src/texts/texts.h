// Every Korean text the tool shows, word for word: the messages of its
// boxes, the lines of its progress log, the notes of its recovery and the
// terminal program's own lines. Texts are UTF-8.
#pragma once

#include <string>

namespace dayledger::texts {

// Messages.
inline constexpr char kApplicationTitle[] = "Dayledger 사용자 정보 업그레이드";

inline constexpr char kUserListMissing[] = "사용자 정보를 찾을 수 없습니다.";
// Follow kUserListMissing: where the list was looked for, and where the
// program belongs.
inline std::string UserListLookedFor(const std::string& path) {
  return "\n찾아본 위치 : " + path +
         "\n이 프로그램은 Dayledger가 설치된 폴더에 두고 실행해야 합니다.";
}
inline std::string InstallationAbove(const std::string& folder) {
  return "\n바로 위의 폴더에 Dayledger가 설치되어 있습니다. "
         "이 프로그램의 파일들을 그 폴더로 옮긴 다음 다시 실행해 주십시오 : " +
         folder;
}
inline constexpr char kProfileDamaged[] = "사용자 프로파일이 손상되었습니다.";
inline constexpr char kEncryptionOn[] = "사용";
inline constexpr char kEncryptionOff[] = "사용안함";
inline const char* EncryptionShown(bool encrypted) {
  return encrypted ? kEncryptionOn : kEncryptionOff;
}

inline constexpr char kSelectUser[] = "업그레이드할 사용자를 선택해 주세요.";
inline constexpr char kAlreadyLatest[] = "해당 사용자 데이터 버전은 이미 최신 버전입니다.";
inline constexpr char kUnsupportedVersion[] = "지원하지 않는 데이터 버전입니다.";
inline constexpr char kSkipBackupQuestion[] =
    "데이터 백업 건너뛰기를 설정하셨습니다.\n"
    "업그레이드 과정에서 데이터가 손실될 우려가 있기 때문에\n"
    "사용자가 직접 데이터 백업을 하신 후에 업그레이드를 하실 것을 권장합니다.\n"
    "(사용자 파일들은 (프로그램 설치 경로)\\users\\(사용자이름) 에 위치해 있습니다)\n"
    "\n"
    "업그레이드를 진행할까요?";
inline constexpr char kWrongPassword[] = "비밀번호가 틀렸습니다.";
inline constexpr char kBackupFailed[] =
    "데이터를 백업하는데 오류가 발생하였습니다.\n"
    "업그레이드 프로그램을 다시 실행하셔서 재시도 하거나,\n"
    "직접 백업해 주신 다음 데이터 백업 건너뛰기를 체크하신 후 이용해 주시기 바랍니다.";
inline constexpr char kUserBusy[] = "다른 곳에서 이 사용자의 업그레이드가 진행 중입니다.";
inline constexpr char kLockUnavailable[] =
    "이 사용자의 잠금 파일을 열 수 없어 아무것도 바꾸지 않았습니다: ";
inline constexpr char kFolderNotWritable[] =
    "이 폴더에 쓸 수 없어 아무것도 바꾸지 않았습니다. "
    "업그레이드 프로그램을 마우스 오른쪽 단추로 눌러 '관리자 권한으로 실행'해 주십시오. "
    "Dayledger도 관리자 권한으로 실행해야 이 데이터를 읽고 쓸 수 있습니다: ";
// Before anything changes: what the PC is doing that the upgrade cannot live with.
inline constexpr char kProgramRunning[] =
    "Dayledger 설치 폴더의 프로그램이 실행 중이어서 아무것도 바꾸지 않았습니다. "
    "이 프로그램을 종료한 다음 다시 시도해 주십시오: ";
inline constexpr char kOtherPcsQuestion[] =
    "Dayledger 설치 폴더가 네트워크 드라이브에 있습니다.\n"
    "다른 PC에서 실행 중인 Dayledger는 이 PC에서 찾을 수 없습니다.\n"
    "이 폴더를 쓰는 모든 PC에서 Dayledger를 종료하셨습니까?";
// The same, where `check` notes it.
inline constexpr char kOtherPcsNote[] =
    "Dayledger 설치 폴더가 네트워크 드라이브에 있습니다. 업그레이드하기 전에 이 폴더를 쓰는 "
    "모든 PC에서 Dayledger를 종료해 주십시오.";
inline std::string RunAsOtherAccount(const std::string& running, const std::string& desktop) {
  return "이 프로그램은 '" + running + "' 계정으로 실행되었지만 바탕 화면은 '" + desktop +
         "' 계정의 것이어서 아무것도 바꾸지 않았습니다. '" + desktop +
         "' 사용자의 Dayledger 데이터는 그 사용자의 계정에 있습니다. "
         "'관리자 권한으로 실행'을 쓰지 말고 이 프로그램을 다시 실행해 주십시오.";
}
inline std::string InstallationOfOtherAccount(const std::string& owner,
                                              const std::string& running) {
  return "이 설치 폴더는 '" + owner + "' 계정의 것이어서 '" + running +
         "' 계정으로는 아무것도 바꾸지 않았습니다. '" + owner +
         "' 계정으로 이 프로그램을 다시 실행해 주십시오.";
}
inline constexpr char kLinkOnTheWay[] =
    "다른 곳으로 연결된 링크가 있어 아무것도 바꾸지 않았습니다. "
    "링크를 없애거나 실제 폴더로 바꾼 다음 다시 시도해 주십시오: ";
inline constexpr char kReadOnlyFiles[] =
    "읽기 전용 파일이 있어 아무것도 바꾸지 않았습니다. "
    "사용자 폴더를 마우스 오른쪽 단추로 눌러 [속성]에서 '읽기 전용'을 해제하고 "
    "하위 폴더 및 파일에 적용한 다음 다시 시도해 주십시오: ";
// After kReadOnlyFiles' first few files: how many more there are.
inline std::string MoreFiles(size_t count) { return " 외 " + std::to_string(count) + "개"; }
inline constexpr char kFileNotDeletable[] =
    "이 파일을 지우거나 바꿀 권한이 없어 아무것도 바꾸지 않았습니다. "
    "파일의 [속성] - [보안]에서 권한을 확인한 다음 다시 시도해 주십시오: ";
// "... 필요한 공간 : 12.5 MB, 남은 공간 : 3.2 MB (C:\)"
inline std::string DiskTooFull(const std::string& needed_mb, const std::string& free_mb,
                               const std::string& where) {
  return "디스크 공간이 부족하여 아무것도 바꾸지 않았습니다. 공간을 확보한 다음 다시 시도해 "
         "주십시오. 필요한 공간 : " +
         needed_mb + " MB, 남은 공간 : " + free_mb + " MB (" + where + ")";
}
inline constexpr char kBackupDiskFull[] =
    "디스크 공간이 부족하여 데이터를 백업하지 못했습니다. 사용자 데이터는 바뀌지 않았습니다. "
    "디스크 공간을 확보한 다음 다시 시도해 주십시오: ";
// After kBackupDiskFull and the folder, when the run had made that folder.
inline constexpr char kPartialBackupRemoved[] = "\n복사하던 백업 폴더는 지웠습니다.";
// After a failed backup's words, when its half copy could not be taken away.
inline constexpr char kPartialBackupKept[] = "\n복사하던 백업 폴더를 지우지 못했습니다 : ";
inline constexpr char kUpgradeDone[] = "사용자 정보 업그레이드가 완료되었습니다!";

inline constexpr char kLinkRefused[] = "링크로 연결된 파일은 업그레이드할 수 없습니다: ";
inline constexpr char kFileInUse[] =
    "다른 프로그램이 사용 중인 파일이 있어 아무것도 바꾸지 않았습니다. "
    "Dayledger를 종료한 다음 다시 시도해 주십시오: ";
// A user's name that cannot be the name of a folder of its own on Windows,
// or is the name of the upgrade program's own folder; the name follows.
inline constexpr char kUnsafeUserName[] =
    "이 사용자 이름은 Windows에서 다른 이름과 구별되는 폴더 이름으로 쓸 수 없어(끝의 점이나 "
    "공백, CON·NUL·COM1 같은 장치 이름, 쓸 수 없는 문자, 업그레이드 프로그램이 쓰는 이름 "
    "\".dlu\") 아무것도 바꾸지 않았습니다. Dayledger에서 사용자 이름을 바꾼 다음 다시 "
    "시도해 주십시오: ";
// What the system said of a failure, after the tool's own sentence:
// "(오류 5: 액세스가 거부되었습니다.)".
inline std::string SystemReasonShown(int code, const std::string& text) {
  return "(오류 " + std::to_string(code) + ": " + text + ")";
}
// Before the file an error is about, where its sentence does not name it.
inline constexpr char kFileNamed[] = "파일 : ";
inline constexpr char kVirusScannerStopped[] =
    "바이러스 검사 프로그램이 이 파일을 막았습니다. 검사 프로그램에서 이 파일이나 "
    "업그레이드 프로그램을 허용한 다음 다시 시도해 주십시오: ";
inline std::string ProtectedFolderRefused(const std::string& program) {
  return "Windows의 제어된 폴더 액세스가 이 폴더에 파일을 만들지 못하게 막았습니다. "
         "Windows 보안 → 바이러스 및 위협 방지 → 랜섬웨어 방지 → 제어된 폴더 액세스를 통해 앱 "
         "허용에서 이 프로그램을 허용한 다음 다시 시도해 주십시오: " +
         program;
}
// A backup that could not read a file of the user's: skipping the backup
// would not help, since the upgrade reads the same file.
inline constexpr char kBackupReadFailed[] =
    "데이터를 백업하는데 오류가 발생하였습니다.\n"
    "사용자 폴더의 파일을 읽을 수 없어 백업하지 못했습니다. 사용자 데이터는 바뀌지 않았습니다. "
    "이 파일을 읽을 수 있게 한 다음 다시 시도해 주십시오: ";
inline constexpr char kChangeSavedUnfinished[] =
    "변경 내용은 저장되었으며, 프로그램을 다음에 실행할 때 마저 완료됩니다. "
    "백업으로 되돌리지 마십시오.\n";

// The progress log, in the order the upgrade writes it.
inline constexpr char kLogUpgradeStarting[] = "사용자 정보 업그레이드를 시작합니다.";
inline constexpr char kLogBackingUp[] = "기존 파일들을 백업중입니다.";
inline constexpr char kLogBackupSkipped[] =
    "데이터 백업 건너뛰기가 설정된 상태입니다. 백업 과정을 건너뜁니다.";
inline constexpr char kLogBackupDone[] = "기존 파일들 백업 완료.";
inline constexpr char kLogSchedulesStarting[] = "일정 데이터 업그레이드를 시작합니다.";
inline constexpr char kLogAnniversariesStarting[] = "기념일 데이터 업그레이드를 시작합니다.";
inline constexpr char kLogCurrentVersion[] = "* 현재 버전 : ";
inline constexpr char kLogNoAnniversaryVersion[] = "* 현재 버전 : (기념일 데이터 정보 없음)";
inline constexpr char kLogTargetVersion[] = "* 업그레이드 버전 : ";
// What each stage's version steps work on, as the log names it.
inline constexpr char kScheduleData[] = "일정";
inline constexpr char kAnniversaryData[] = "기념일";
// "* 일정 데이터 : v 1.01.00로의 업그레이드 시작."
inline std::string LogStepStarting(const std::string& data, const std::string& shown_version) {
  return "* " + data + " 데이터 : " + shown_version + "로의 업그레이드 시작.";
}
inline std::string LogAllStepsDone(const std::string& data) {
  return data + " 데이터 업그레이드 전체 완료.";
}
inline constexpr char kLogRepeatCreated[] = "반복 일정 데이터 생성 완료.";
// After the year, as in "2009년 일정 데이터 업그레이드 완료.".
inline constexpr char kLogYearStamped[] = "년 일정 데이터 업그레이드 완료.";
inline constexpr char kLogYearLoaded[] = "년 일정 데이터 로드 완료.";
inline constexpr char kLogSchedulesMerged[] = " - 일정 데이터 업그레이드 완료.";
inline constexpr char kLogGroupInformationDone[] = " - 그룹 정보 데이터 업그레이드 완료.";
inline constexpr char kLogGroupsDone[] = " - 그룹 데이터 업그레이드 완료.";
inline constexpr char kLogAnniversariesCopied[] = " - 기념일 데이터 복사 완료.";
inline constexpr char kLogAnniversariesDone[] = " - 기념일 데이터 업그레이드 완료.";
inline constexpr char kLogSavingProfile[] = "업그레이드 정보를 사용자 정보에 저장중입니다.";
inline constexpr char kLogUndeleted[] = " - 삭제하지 못한 파일 : ";
// An earlier backup's copy that could not be removed yet; a later start
// tries again, and nothing waits for it.
inline constexpr char kLogLeftover[] =
    " - 이전 백업의 파일을 지우지 못했습니다. 이 파일을 사용하는 프로그램을 종료해 주십시오 : ";
inline constexpr char kLogUpgradeDone[] = "업그레이드 완료!";

// The names of the long steps in a progress display.
inline constexpr char kProgressSchedules[] = "일정 데이터";
inline constexpr char kProgressAnniversaries[] = "기념일 데이터";

// Notes of the recovery on opening an installation; each is followed by
// kNoteUser and the user's name.
inline constexpr char kNoteRolledForward[] = "중단되었던 변경의 저장을 마저 완료하였습니다.";
inline constexpr char kNoteRolledBack[] =
    "중단되었던 변경을 취소하여 변경 전의 데이터로 두었습니다.";
inline constexpr char kNoteCleaned[] = "이전 실행에서 남은 임시 파일을 정리하였습니다.";
inline constexpr char kNoteBusy[] =
    "다른 곳에서 이 사용자의 데이터를 바꾸는 중이어서 복구하지 않았습니다.";
inline constexpr char kNoteFailed[] = "중단되었던 변경을 정리하지 못했습니다.";
// A recovery that stopped, before the file it names.
inline constexpr char kRecoveryHeld[] =
    "다른 프로그램이 중단되었던 변경의 파일을 사용 중이어서 아무것도 바꾸지 않았습니다. "
    "이 파일을 사용하는 프로그램(바이러스 검사 프로그램, 동기화 프로그램 등)을 종료한 다음 "
    "다시 실행해 주십시오: ";
inline constexpr char kChangeLost[] =
    "중단되었던 변경의 새 파일을 찾을 수 없어 복구를 멈추었습니다. 아무것도 지우지 "
    "않았습니다. 이 폴더를 그대로 둔 채 도움을 요청해 주십시오: ";
// A journal or a backup swap's record that a newer build of the tool left.
inline constexpr char kNewerFormat[] =
    "중단되었던 변경은 더 새로운 버전의 업그레이드 프로그램이 남긴 것이어서 아무것도 바꾸지 "
    "않았습니다. 새 버전의 업그레이드 프로그램을 실행하여 마저 완료해 주십시오: ";
inline std::string NoteUser(const std::string& user) { return " (사용자 : " + user + ")"; }

// The record of a run, kept in upgrade_backup\.dlu\logs\<user>.
inline std::string RecordTool(const std::string& tool_version, const std::string& data_version) {
  return std::string(kApplicationTitle) + " " + tool_version + " (" + data_version + ")";
}
inline constexpr char kRecordSystem[] = "시스템 : ";
inline constexpr char kRecordInstallation[] = "설치 폴더 : ";
inline constexpr char kRecordVirtualStore[] = "VirtualStore 폴더 : ";
inline constexpr char kRecordUser[] = "사용자 : ";
inline constexpr char kRecordVerb[] = "작업 : ";
inline constexpr char kRecordUpgrade[] = "업그레이드";
inline constexpr char kRecordRestore[] = "백업으로 되돌리기";
inline constexpr char kRecordError[] = "오류 : ";
inline std::string RecordEnded(bool done, int exit_status) {
  return std::string("결과 : ") + (done ? "완료" : "중단") + " (종료 코드 " +
         std::to_string(exit_status) + ")";
}
// After the message of a stopped run.
inline constexpr char kRecordKeptAt[] = "\n실행 기록 : ";
inline constexpr char kRecordNotKept[] = "\n실행 기록을 남기지 못했습니다 : ";

// The terminal program's restore.
inline constexpr char kNoBackupToRestore[] = "복원할 백업이 없습니다: ";
inline constexpr char kBackupProfileUnreadable[] = "백업의 사용자 정보를 읽을 수 없습니다: ";
inline constexpr char kRestoreVersions[] = "백업의 데이터 버전 : %s\n현재 데이터 버전 : %s\n";
inline constexpr char kUnreadable[] = "(읽을 수 없음)";
inline constexpr char kRestoreQuestion[] = "백업으로 되돌릴까요?";
inline constexpr char kKeptAside[] = "되돌리기 전의 폴더는 다음 위치에 보관하였습니다 : ";
inline constexpr char kRestored[] = "백업으로 되돌렸습니다.";

// The terminal program's verify.
inline constexpr char kNoBackupToCompare[] = "비교할 백업이 없습니다: ";
// Each with the target version as shown ("v 1.03.00").
inline std::string BackupNotOlder(const std::string& target) {
  return "백업이 이미 " + target + "이어서 업그레이드 전의 데이터가 아닙니다: ";
}
inline std::string NotUpgraded(const std::string& target) {
  return "아직 " + target + "으로 업그레이드되지 않은 사용자입니다.";
}
// The verify summary: each count's label, its number, then its unit.
inline constexpr char kEntryUnit[] = "건";
inline constexpr char kFileUnit[] = "개";
inline constexpr char kBackupEntries[] = "백업의 일정 : ";
inline constexpr char kCurrentEntries[] = "현재의 일정 : ";
inline constexpr char kMissingEntries[] = "없어진 일정 : ";
inline constexpr char kAddedEntries[] = "추가된 일정 : ";
inline constexpr char kEqualFiles[] = "같은 파일 : ";
inline constexpr char kDifferingFiles[] = "다른 파일 : ";
// "2009년 11월"
inline std::string ShownMonth(int year, int month) {
  return std::to_string(year) + "년 " + std::to_string(month) + "월";
}
inline std::string MissingEntry(const std::string& month) {
  return " - 없어진 일정 (" + month + ") : ";
}
inline constexpr char kAddedEntry[] = " - 추가된 일정 : ";
inline constexpr char kDifferingFile[] = " - 다른 파일 : ";
inline std::string CountDiffers(const std::string& found, const std::string& expected) {
  return " - 일정 개수가 다릅니다 : " + found + " (백업으로 계산한 값 " + expected + ")";
}
inline constexpr char kAllAccountedFor[] = "백업의 데이터가 모두 그대로 있습니다.";
inline constexpr char kSomethingMissing[] = "백업의 데이터 가운데 없어지거나 달라진 것이 있습니다.";

}  // namespace dayledger::texts
