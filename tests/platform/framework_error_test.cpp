// The framework's error texts and the error report's period rule.
#include "platform/framework_error.h"

#include <gtest/gtest.h>

namespace dayledger {
namespace {

TEST(FrameworkErrorTest, CarriesTheFrameworkTexts) {
  EXPECT_STREQ(CannotOpenFile(Path("C:\\a\\b.qbd")).what(), "Cannot open file C:\\a\\b.qbd");
  EXPECT_STREQ(CannotCreateFile(Path("C:\\x")).what(), "Cannot create file C:\\x");
  EXPECT_STREQ(ListIndexOutOfBounds(9).what(), "List index out of bounds (9)");
  EXPECT_STREQ(NotAValidInteger("abc").what(), "'abc' is not a valid integer value");
  EXPECT_STREQ(StreamWriteError().what(), "Stream write error");
}

TEST(FrameworkErrorTest, ReportAddsAPeriodAfterCharactersAboveIt) {
  const struct {
    std::string message;
    std::string shown;
  } cases[] = {
      {"Stream write error", "Stream write error."},
      {"List index out of bounds (1)", "List index out of bounds (1)"},
      {"ends with a period.", "ends with a period."},
      {"version 10300", "version 10300."},
      {"Cannot open file C:\\x\\", "Cannot open file C:\\x\\."},
      {"'x' is not a valid integer value", "'x' is not a valid integer value."},
      {"한글", "한글."},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorReportText(c.message), c.shown) << c.message;
}

}  // namespace
}  // namespace dayledger
