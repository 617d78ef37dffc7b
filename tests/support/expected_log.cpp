// The log a whole run must write, built from the version steps' rules.
#include "support/expected_log.h"

namespace dayledger::testing {
namespace {

void AddYears(std::vector<std::string>& log, const std::string& suffix) {
  for (int year = 1980; year <= 2029; ++year) log.push_back(" - " + std::to_string(year) + suffix);
}

void AddGroupLines(std::vector<std::string>& log) {
  log.push_back(" - 그룹 정보 데이터 업그레이드 완료.");
  log.push_back(" - 그룹 데이터 업그레이드 완료.");
}

}  // namespace

std::vector<std::string> ExpectedScheduleLog(const std::string& version) {
  std::vector<std::string> log = {"일정 데이터 업그레이드를 시작합니다.",
                                  "* 현재 버전 : v 1.0" + version.substr(2, 1) + ".00",
                                  "* 업그레이드 버전 : v 1.03.00"};
  if (version == "10000") {
    log.push_back("* 일정 데이터 : v 1.01.00로의 업그레이드 시작.");
    AddYears(log, "년 일정 데이터 업그레이드 완료.");
    AddGroupLines(log);
  }
  if (version <= "10100") {
    log.push_back("* 일정 데이터 : v 1.02.00로의 업그레이드 시작.");
    log.push_back("반복 일정 데이터 생성 완료.");
    AddYears(log, "년 일정 데이터 업그레이드 완료.");
    AddGroupLines(log);
  }
  log.push_back("* 일정 데이터 : v 1.03.00로의 업그레이드 시작.");
  AddYears(log, "년 일정 데이터 로드 완료.");
  log.push_back(" - 일정 데이터 업그레이드 완료.");
  AddGroupLines(log);
  log.push_back("일정 데이터 업그레이드 전체 완료.");
  return log;
}

std::vector<std::string> ExpectedAnniversaryLog(const std::string& version) {
  std::vector<std::string> log = {"기념일 데이터 업그레이드를 시작합니다."};
  log.push_back(version == "10000" ? "* 현재 버전 : (기념일 데이터 정보 없음)"
                                   : "* 현재 버전 : v 1.0" + version.substr(2, 1) + ".00");
  log.push_back("* 업그레이드 버전 : v 1.03.00");
  if (version == "10000") {
    log.push_back("* 기념일 데이터 : v 1.01.00로의 업그레이드 시작.");
    log.push_back(" - 기념일 데이터 복사 완료.");
  }
  if (version <= "10100") {
    log.push_back("* 기념일 데이터 : v 1.02.00로의 업그레이드 시작.");
    log.push_back(" - 기념일 데이터 업그레이드 완료.");
  }
  log.push_back("* 기념일 데이터 : v 1.03.00로의 업그레이드 시작.");
  log.push_back(" - 기념일 데이터 업그레이드 완료.");
  log.push_back("기념일 데이터 업그레이드 전체 완료.");
  return log;
}

std::vector<std::string> ExpectedRunLog(const std::string& version) {
  std::vector<std::string> log = {"사용자 정보 업그레이드를 시작합니다.",
                                  "기존 파일들을 백업중입니다.", "기존 파일들 백업 완료."};
  for (const auto& part : {ExpectedScheduleLog(version), ExpectedAnniversaryLog(version)}) {
    log.insert(log.end(), part.begin(), part.end());
  }
  log.push_back("업그레이드 정보를 사용자 정보에 저장중입니다.");
  log.push_back("업그레이드 완료!");
  return log;
}

std::vector<std::string> WithoutStamps(const std::vector<std::string>& lines) {
  std::vector<std::string> texts;
  for (const std::string& line : lines) texts.push_back(line.substr(10));
  return texts;
}

}  // namespace dayledger::testing
