// The options dialog's logic: the radios chosen from the book's two fields
// and written back on every close.
#include "options/OptionsLogic.h"

#include <gtest/gtest.h>

#include <functional>

#include "mainwin/LogicFixture.h"

namespace {

using options::TOptionSet;

class OptionsLogic : public logictest::MainLogic {};

TEST_F(OptionsLogic, RadiosFollowTheBookAndGoBackUnchanged) {
  StartStandard();
  struct Case {
    int sendMode, compFlg;
    bool forward, behind, only, withAll, withAddr;
    int sendBack, compBack;  // after closing untouched
  };
  const Case cases[] = {
      {0, 0, false, false, true, true, false, 0, 0},
      {1, 1, false, true, false, false, true, 1, 1},
      {2, 0, true, false, false, true, false, 2, 0},
      // Values out of range choose the defaults, and closing writes those.
      {7, 5, true, false, false, true, false, 2, 0},
      {-1, -1, true, false, false, true, false, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sendMode << "/" << c.compFlg);
    Book().AdrSendMode = c.sendMode;
    Book().AdrCompFlg = c.compFlg;
    TOptionSet o;
    o.OptionInit(*main);
    EXPECT_EQ(o.Radio_Forward, c.forward);
    EXPECT_EQ(o.Radio_Behind, c.behind);
    EXPECT_EQ(o.Radio_only, c.only);
    EXPECT_EQ(o.CombineWithAll, c.withAll);
    EXPECT_EQ(o.CombineWithAddr, c.withAddr);
    o.FormClose();
    EXPECT_EQ(Book().AdrSendMode, c.sendBack);
    EXPECT_EQ(Book().AdrCompFlg, c.compBack);
  }
}

TEST_F(OptionsLogic, ChosenRadiosReachTheBook) {
  StartStandard();
  for (int mode = 0; mode <= 2; ++mode) {
    for (int flag = 0; flag <= 1; ++flag) {
      Book().AdrSendMode = (mode + 1) % 3;
      Book().AdrCompFlg = 1 - flag;
      TOptionSet o;
      o.OptionInit(*main);
      o.ChooseSendMode(mode);
      o.ChooseCombine(flag);
      EXPECT_EQ(o.Radio_only + o.Radio_Behind + o.Radio_Forward, 1);
      EXPECT_EQ(o.CombineWithAll + o.CombineWithAddr, 1);
      o.FormClose();
      EXPECT_EQ(Book().AdrSendMode, mode);
      EXPECT_EQ(Book().AdrCompFlg, flag);
    }
  }
}

// "Ext" through the main window: the choice is kept however the dialog
// closed, and it is written to Q7Addr.ini when the program closes.
struct OptionHost : mainwin::MainHost {
  std::function<void(TOptionSet&)> script;
  void ShowOptionDialog(TOptionSet& o) override {
    if (script) script(o);
  }
};

TEST_F(OptionsLogic, OtherClickKeepsTheChoiceOnClose) {
  StartStandard();
  OptionHost host;
  main->Host = &host;
  Book().AdrSendMode = 0;
  Book().AdrCompFlg = 0;
  host.script = [](TOptionSet& o) {
    EXPECT_TRUE(o.Radio_only);
    o.Radio_only = false;
    o.Radio_Behind = true;
    o.CombineWithAll = false;
    o.CombineWithAddr = true;
  };
  main->OtherClick();
  EXPECT_EQ(Book().AdrSendMode, 1);
  EXPECT_EQ(Book().AdrCompFlg, 1);
  // Opened and closed untouched: unchanged.
  host.script = nullptr;
  main->OtherClick();
  EXPECT_EQ(Book().AdrSendMode, 1);
  EXPECT_EQ(Book().AdrCompFlg, 1);
  main->FormClose();
  const std::string ini = testsupport::ReadBytes(IniPath());
  EXPECT_NE(ini.find("AdrSendMode=1"), std::string::npos);
  EXPECT_NE(ini.find("AdrCompFlg=1"), std::string::npos);
}

}  // namespace
