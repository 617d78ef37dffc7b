// Windows' long path form, and when a path is given in it.
#include "platform/long_path.h"

#include <gtest/gtest.h>

#include <string>

namespace dayledger {
namespace {

TEST(LongPathTest, FormOfEachKindOfPath) {
  const struct {
    std::string path;
    std::string form;
  } cases[] = {
      {"C:\\Program Files\\Dayledger\\users", "\\\\?\\C:\\Program Files\\Dayledger\\users"},
      {"C:/Dayledger/users/kim", "\\\\?\\C:\\Dayledger\\users\\kim"},
      {"C:\\Dayledger\\.\\users\\..\\data\\\\userscommon",
       "\\\\?\\C:\\Dayledger\\data\\userscommon"},
      {"C:\\..\\Dayledger", "\\\\?\\C:\\Dayledger"},  // never above the drive
      {"\\\\nas\\share\\Dayledger\\users", "\\\\?\\UNC\\nas\\share\\Dayledger\\users"},
      {"\\\\nas\\share\\a\\..\\..\\b", "\\\\?\\UNC\\nas\\share\\b"},  // never above the share
      {"\\\\nas\\share", "\\\\?\\UNC\\nas\\share"},
      {"\\\\?\\C:\\already\\.\\long", "\\\\?\\C:\\already\\.\\long"},
      {"\\\\?\\UNC\\nas\\share\\x", "\\\\?\\UNC\\nas\\share\\x"},
      {"relative\\path", "relative\\path"},
  };
  for (const auto& c : cases) EXPECT_EQ(LongPathForm(c.path), c.form) << c.path;
}

TEST(LongPathTest, OnlyLongPathsTakeTheForm) {
  const std::string folder = "C:\\" + std::string(200, 'd');
  const std::string short_path = folder + "\\x";
  const std::string long_path = folder + "\\" + std::string(kLongPathFrom - folder.size() - 1, 'f');
  EXPECT_EQ(ForWideApi(short_path), short_path);
  ASSERT_EQ(long_path.size(), kLongPathFrom);
  EXPECT_EQ(ForWideApi(long_path), "\\\\?\\" + long_path);
}

}  // namespace
}  // namespace dayledger
