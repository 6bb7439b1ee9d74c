#include "framework/message_box.h"

#include <gtest/gtest.h>

#include "tests/wine/dialog_driver.h"

namespace {

TEST(MessageBoxTest, ShowsTextWithProgramNameAsCaptionAndOneOkButton) {
  bool hasOk = false;
  bool hasCancel = true;
  DialogDriver driver([&](HWND box) {
    hasOk = GetDlgItem(box, IDOK) != nullptr;
    hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
    DialogDriver::PostClick(box, IDOK);
  });
  ShowMessage(nullptr, "Error in line nr 3 in file D:\\kat1.txt\nchar ';' not founf");
  ASSERT_EQ(driver.messages().size(), 1u);
  EXPECT_EQ(driver.messages()[0].caption, "wine_tests");
  EXPECT_EQ(driver.messages()[0].text, "Error in line nr 3 in file D:\\kat1.txt\nchar ';' not founf");
  EXPECT_TRUE(hasOk);
  EXPECT_FALSE(hasCancel);
}

}  // namespace
