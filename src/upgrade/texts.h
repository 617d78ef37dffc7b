// Texts the tool shows, word for word.
#pragma once

namespace dayledger::texts {

inline constexpr char kApplicationTitle[] = "Dayledger 사용자 정보 업그레이드";

inline constexpr char kUserListMissing[] = "사용자 정보를 찾을 수 없습니다.";
inline constexpr char kProfileDamaged[] = "사용자 프로파일이 손상되었습니다.";
inline constexpr char kEncryptionOn[] = "사용";
inline constexpr char kEncryptionOff[] = "사용안함";

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
inline constexpr char kUpgradeDone[] = "사용자 정보 업그레이드가 완료되었습니다!";

}  // namespace dayledger::texts
