#include "app/startup_settings.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/wine/test_support.h"

using namespace testing_support;

namespace {

// The disc root is D:\, holding the settings file the case writes (or none).
class StartupSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentDirectory();
    RemoveTree("D:\\DISC");
    MakeDirectories("D:\\DISC\\DATA");
    SetCurrentDirectoryOrDie("D:\\DISC");
    app_.SetProfileName(kSettingsFile);
  }
  void TearDown() override {
    SetCurrentDirectoryOrDie(saved_);
    RemoveTree("D:\\DISC");
  }
  StartupSettings Read(const std::string& ini, int chooserResult = IDC_POLISH) {
    if (!ini.empty()) WriteTextFile("D:\\DISC\\tamo_cd.ini", ini);
    chooserRuns_ = 0;
    return ReadStartupSettings(app_, [&] {
      ++chooserRuns_;
      return chooserResult;
    });
  }
  std::string saved_;
  Application app_;
  int chooserRuns_ = 0;
};

TEST_F(StartupSettingsTest, NoSettingsFileAsksForLanguageAndUsesDefaults) {
  const StartupSettings s = Read("");
  EXPECT_EQ(chooserRuns_, 1);
  EXPECT_EQ(s.language, Language::kPolish);
  EXPECT_EQ(s.multiLanguage, true);
  EXPECT_EQ(s.helpFile.polish, "D:\\DISC\\tamo_pl.hlp");
  EXPECT_EQ(s.helpFile.czech, "D:\\DISC\\tamo_cz.hlp");
  EXPECT_EQ(s.catalog.categoryFile.polish, "D:\\DISC\\kat1.txt");
  EXPECT_EQ(s.catalog.categoryFile.czech, "D:\\DISC\\kat2.txt");
  EXPECT_EQ(s.catalog.programList, "D:\\DISC\\prog.txt");
  EXPECT_EQ(s.defaultCopyDirectory, "c:\\tmp");
  EXPECT_EQ(s.catalog.defaultDescription.polish, "opis\\opis1.txt");
  EXPECT_EQ(s.catalog.defaultDescription.czech, "opis\\opis2.txt");
  EXPECT_EQ(CurrentDirectory(), "D:\\DISC");
}

TEST_F(StartupSettingsTest, LanguageChoiceTable) {
  struct Case {
    std::string ini;
    int chooserResult;
    int expectedRuns;
    bool expectedPolish;
    bool expectedMulti;
  };
  const Case cases[] = {
      {"[other]\nmulti_lang=yes\n", IDC_CZECH, 1, 0, 1},
      {"[other]\nmulti_lang=yes\n", IDC_POLISH, 1, 1, 1},
      {"[other]\nmulti_lang=yes\n", IDCANCEL, 1, 1, 1},  // Escape at start means Polish
      {"[other]\nmulti_lang=yes\n", IDOK, 1, 1, 1},
      {"[other]\nmulti_lang=no\nlang=cz\n", IDC_POLISH, 0, 0, 0},
      {"[other]\nmulti_lang=no\nlang=pl\n", IDC_CZECH, 0, 1, 0},
      {"[other]\nmulti_lang=no\n", IDC_CZECH, 0, 1, 0},             // lang defaults to pl
      {"[other]\nmulti_lang=Yes\nlang=cz\n", IDC_POLISH, 0, 0, 0},  // values are case-sensitive
      {"[other]\nmulti_lang=no\nlang=PL\n", IDC_POLISH, 0, 0, 0},
      {"[OTHER]\nMULTI_LANG=no\nLang=cz\n", IDC_POLISH, 0, 0, 0},  // names are not
      {"[other]\nmulti_lang=\"yes\"\n", IDC_CZECH, 1, 0, 1},
  };
  for (const Case& c : cases) {
    const StartupSettings s = Read(c.ini, c.chooserResult);
    EXPECT_EQ(chooserRuns_, c.expectedRuns) << c.ini;
    EXPECT_EQ(s.language == Language::kPolish, c.expectedPolish) << c.ini;
    EXPECT_EQ(s.multiLanguage, c.expectedMulti) << c.ini;
  }
}

TEST_F(StartupSettingsTest, PathsAreResolvedOnlyWhereTheyNameDiscFiles) {
  const std::string longCopy = "e:\\" + std::string(600, 'k');
  const StartupSettings s = Read(
      "[files]\nprog=DATA\\programs.lst\nkat_pl=MISSING\\kat1.txt\nkat_cz=\\kat2.txt\nhelp_pl=DATA\\..\\pl."
      "hlp\n"
      "help_vx=D:\\DISC\\DATA\\cz.hlp\ndef_opis_pl=doc\\pl.txt\ndef_opis_cz=doc\\cz.txt\n"
      "[directories]\ndef_copy=" +
      longCopy + "\n");
  EXPECT_EQ(s.catalog.programList, "D:\\DISC\\DATA\\programs.lst");
  EXPECT_EQ(s.catalog.categoryFile.polish,
            "MISSING\\kat1.txt");  // its directory does not exist: left as read
  EXPECT_EQ(s.catalog.categoryFile.czech, "\\kat2.txt");
  EXPECT_EQ(s.helpFile.polish, "D:\\DISC\\pl.hlp");
  EXPECT_EQ(s.helpFile.czech, "D:\\DISC\\DATA\\cz.hlp");
  EXPECT_EQ(s.catalog.defaultDescription.polish, "doc\\pl.txt");
  EXPECT_EQ(s.catalog.defaultDescription.czech, "doc\\cz.txt");
  EXPECT_EQ(s.defaultCopyDirectory, longCopy);  // long values are read whole
}

}  // namespace
