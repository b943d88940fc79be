// The print setup window's logic: stored layouts and their defaults, the row
// clamp, the panel width mapping, item choice, the group check list, the
// targets, and the export to a file and the clipboard.
#include "print/PrintSetupLogic.h"

#include <gtest/gtest.h>

#include <memory>

#include "mainwin/LogicFixture.h"
#include "platform/IniFile.h"
#include "print/RecordingPrinter.h"
#include "support/TestSupport.h"

namespace {

using print::TPrintLayout;
using print::TPrintSetup;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

std::array<int, 4> Row(const TPrintLayout& l, int r) {
  return {l.Width(r, 1), l.Width(r, 2), l.Width(r, 3), l.Width(r, 4)};
}
std::array<int, 4> Items(const TPrintLayout& l, int r) {
  return {l.Item(r, 1), l.Item(r, 2), l.Item(r, 3), l.Item(r, 4)};
}

TEST(PrintRowClamp, FitsEveryRowIntoTheLine) {
  struct Case {
    std::array<int, 4> in;
    int lineWidth;
    std::array<int, 4> out;
  };
  const Case cases[] = {
      {{100, 30, 5, 40}, 92, {89, 1, 1, 1}},  // sum 92
      {{1, 30, 1, 59}, 92, {1, 30, 1, 60}},   // within one cell: widened to 92
      {{1, 30, 1, 58}, 92, {1, 30, 1, 58}},   // two cells short: kept
      {{0, -5, 1, 3}, 92, {1, 1, 1, 3}},      // nothing below one cell
      {{1, 34, 1, 25}, 61, {1, 34, 1, 25}},   // the export defaults fit exactly
      {{1, 60, 1, 1}, 61, {1, 58, 1, 1}},     // column 2 stops where 3 and 4 still fit
      {{1, 40, 30, 21}, 51, {1, 40, 9, 1}},   // a stored 180 %: line width 51
  };
  for (const Case& c : cases) {
    TPrintLayout l;
    for (int i = 0; i < 4; ++i) l.Width(1, i + 1) = c.in[static_cast<std::size_t>(i)];
    print::ClampRow(l, 1, c.lineWidth);
    EXPECT_EQ(Row(l, 1), c.out) << c.in[0] << "," << c.in[1] << "," << c.in[2] << "," << c.in[3];
  }
}

TEST(PrintSettingsKeys, NamesOfTheThreeFormats) {
  EXPECT_EQ(print::ScaleKey(print::kNormal), "Scale");
  EXPECT_EQ(print::ScaleKey(print::kSimple), "Scale_C");
  EXPECT_EQ(print::ScaleKey(print::kDetail), "Scale_F");
  EXPECT_EQ(print::WidthKey(print::kNormal, 3, 4), "WD34");
  EXPECT_EQ(print::WidthKey(print::kSimple, 1, 2), "WD212");
  EXPECT_EQ(print::ItemKey(print::kDetail, 1, 4), "Pd314");
  EXPECT_EQ(print::ItemKey(print::kNormal, 4, 1), "Pd41");
}

// A setup window over an empty book and a settings file in a temporary folder.
class PrintSetupTest : public ::testing::Test {
 protected:
  testsupport::TempDir tmp;
  testsupport::ScriptedDialogs dlg;
  store::TAllList book;
  std::unique_ptr<TPrintSetup> s;

  std::string Ini() const { return tmp / "Q7Addr.ini"; }
  void Open(const std::string& iniBytes, bool exportMode = false, int rowPanelWidth = 0) {
    if (!iniBytes.empty()) WriteBytes(Ini(), iniBytes);
    s = std::make_unique<TPrintSetup>(dlg, book, Ini());
    if (exportMode) s->SetExportMode();
    s->RowPanelWidth = rowPanelWidth;
    s->FormInit();
  }
};

TEST_F(PrintSetupTest, DefaultsOfBothSections) {
  Open("");
  EXPECT_EQ(s->Section, "Print");
  EXPECT_EQ(s->FormatIndex, print::kNormal);
  EXPECT_FALSE(s->RadioPrintView);
  EXPECT_EQ(s->NormalLayout.Scale, 100);
  EXPECT_EQ(s->LineWidth, 92);
  // Column 3 takes the rest once shown: 92 - (1 + 3 + 50) in row 4.
  EXPECT_EQ(Row(s->NormalLayout, 4), (std::array<int, 4>{1, 3, 38, 50}));
  EXPECT_EQ(Items(s->NormalLayout, 2), (std::array<int, 4>{0, 4, 5, 6}));
  EXPECT_EQ(Items(s->SimpleLayout, 1), (std::array<int, 4>{0, 1, 2, 3}));
  EXPECT_EQ(Items(s->SimpleLayout, 2), (std::array<int, 4>{0, 0, 0, 0}));
  EXPECT_EQ(Items(s->DetailLayout, 1), (std::array<int, 4>{0, 1, 2, 4}));
  EXPECT_EQ(s->PanelCaption[0][1], "Mail");
  EXPECT_EQ(s->PanelHint[3][2], "38");
  EXPECT_EQ(s->Pr_Form5Cap1, "Other Address\r\nFamiry,Given Name\r\nTEL\r\nURL");
  EXPECT_EQ(s->Pr_Form5Cap2, "Note\r\nHome Address\r\nPublicKey\r\nOthers");
  EXPECT_TRUE(s->ExecPrintVisible);
  EXPECT_FALSE(s->SendToFileVisible);

  Open("", true);
  EXPECT_EQ(s->Section, "Export");
  EXPECT_EQ(s->HelpContext, 1901);
  EXPECT_FALSE(s->ExecPrintVisible);
  EXPECT_TRUE(s->SendToFileVisible);
  EXPECT_EQ(s->NormalLayout.Scale, 150);
  EXPECT_EQ(s->LineWidth, 61);
  EXPECT_EQ(Row(s->NormalLayout, 2), (std::array<int, 4>{1, 1, 19, 40}));
  EXPECT_EQ(Items(s->NormalLayout, 4), (std::array<int, 4>{0, 5, 0, 6}));
  EXPECT_EQ(s->SimpleLayout.Scale, 150);
  EXPECT_EQ(s->DetailLayout.Scale, 100);
  EXPECT_EQ(Row(s->SimpleLayout, 1), (std::array<int, 4>{1, 34, 1, 25}));
}

TEST_F(PrintSetupTest, StoredValuesOutOfRangeAndColumnThree) {
  Open("[Print]\r\nScale=201\r\nWD11=100\r\nWD12=30\r\nWD13=77\r\nWD14=40\r\nPd12=mail\r\nPd13=Famiry\r\n"
       "Pd14=URL\r\nScale_C=abc\r\n[Export]\r\nScale_C=49\r\n");
  EXPECT_EQ(s->NormalLayout.Scale, 100);
  // Clamped to 89, 1, 1, 1, then the third column is the rest.
  EXPECT_EQ(Row(s->NormalLayout, 1), (std::array<int, 4>{89, 1, 1, 1}));
  EXPECT_EQ(Items(s->NormalLayout, 1), (std::array<int, 4>{0, 0, 0, 11}));
  EXPECT_EQ(s->SimpleLayout.Scale, 100);  // not a number: the default

  s = std::make_unique<TPrintSetup>(dlg, book, Ini());
  s->SetExportMode();
  s->FormInit();
  EXPECT_EQ(s->SimpleLayout.Scale, 150);
}

TEST_F(PrintSetupTest, ReadItemKeyIsExactAndCaseSensitive) {
  WriteBytes(Ini(), "[Print]\r\nA=Mail\r\nB=mail\r\nC=Famiry\r\nD=URL\r\nE= Tel \r\n");
  TPrintSetup setup(dlg, book, Ini());
  EXPECT_EQ(setup.ReadItemKey("A", "Sp"), 1);
  EXPECT_EQ(setup.ReadItemKey("B", "Name"), 0);
  EXPECT_EQ(setup.ReadItemKey("C", "Name"), 0);  // a label only, never a column item
  EXPECT_EQ(setup.ReadItemKey("D", "Sp"), 11);
  EXPECT_EQ(setup.ReadItemKey("E", "Sp"), 7);  // the file's surrounding blanks are not the value's
  EXPECT_EQ(setup.ReadItemKey("missing", "PHS"), 9);
}

TEST_F(PrintSetupTest, AStoredScaleOf180StaysWithTheLayout) {
  Open("[Print]\r\nScale=180\r\n");
  EXPECT_EQ(s->NormalLayout.Scale, 180);
  EXPECT_EQ(s->LineWidth, 51);
  EXPECT_EQ(s->PrScale, 150);
  print::TPrintData job;
  s->StartJob(job, 100);
  EXPECT_EQ(job.Scale, 150);
  s->BuildLines(job, true);
  EXPECT_EQ(job.Lines.back(), std::string(51, '-'));
  // Leaving the box sets the layout's scale to what it shows.
  s->PrScaleExit();
  EXPECT_EQ(s->NormalLayout.Scale, 150);
  EXPECT_EQ(s->LineWidth, 61);
}

TEST_F(PrintSetupTest, PanelWidthsRoundHalvesToEven) {
  // 46 pixels for 92 cells: every panel is half its width in cells.
  Open("[Print]\r\nPrintForm=0\r\nWD211=1\r\nWD212=3\r\nWD214=5\r\n", false, 11 + 46);
  // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2; column 3 fills the rest.
  EXPECT_EQ(s->PanelWidth[0][0], 0);
  EXPECT_EQ(s->PanelWidth[0][1], 2);
  EXPECT_EQ(s->PanelWidth[0][3], 2);
  EXPECT_EQ(s->PanelWidth[0][2], 42);
  // Read back at two cells per pixel.
  EXPECT_EQ(Row(s->SimpleLayout, 1), (std::array<int, 4>{0, 4, 84, 4}));

  // 184 pixels for 92 cells: a pixel is half a cell.
  s->RowPanelWidth = 11 + 184;
  s->PanelWidth[0][0] = 1;
  s->PanelWidth[0][1] = 3;
  s->PanelWidth[0][3] = 5;
  s->SplitterMoved();
  EXPECT_EQ(Row(s->SimpleLayout, 1), (std::array<int, 4>{0, 2, 88, 2}));
  EXPECT_EQ(s->PanelHint[0][2], "88");
}

TEST_F(PrintSetupTest, ScaleChangeKeepsTheProportionsOnScreen) {
  Open("", false, 11 + 552);  // six pixels a cell at 92 cells
  EXPECT_EQ(s->PanelWidth[0][1], 180);
  EXPECT_EQ(Row(s->NormalLayout, 1), (std::array<int, 4>{1, 30, 21, 40}));
  s->PrScale = 150;
  s->PrScaleExit();
  // 61 cells over the same pixels: 180 * 61 / 552 = 19.89.
  EXPECT_EQ(s->LineWidth, 61);
  EXPECT_EQ(Row(s->NormalLayout, 1), (std::array<int, 4>{1, 20, 13, 27}));
  // The scale box cannot go beyond its range.
  s->PrScale = 400;
  s->PrScaleExit();
  EXPECT_EQ(s->NormalLayout.Scale, 150);
}

TEST_F(PrintSetupTest, ANearlyShutThirdPanelKeepsOneCell) {
  Open("", false, 11 + 92);  // one pixel a cell
  s->PanelWidth[0][0] = 1;
  s->PanelWidth[0][1] = 60;
  s->PanelWidth[0][3] = 31;
  s->PanelWidth[0][2] = 0;
  s->SplitterMoved();
  EXPECT_EQ(Row(s->NormalLayout, 1), (std::array<int, 4>{1, 59, 1, 31}));
}

TEST_F(PrintSetupTest, MemoryWritesOnlyTheCurrentFormat) {
  WriteBytes(Ini(), "[Print]\r\nWD11=5\r\n");
  Open("");
  s->PrintFormClick(print::kDetail);
  ASSERT_TRUE(s->SaveLayout());
  plat::IniFile ini(Ini());
  EXPECT_EQ(ini.ReadSection("Print"),
            (std::vector<std::string>{"WD11", "Scale_F", "WD311", "WD312", "WD313", "WD314", "Pd311", "Pd312",
                                      "Pd313", "Pd314"}));
  EXPECT_EQ(ini.ReadString("Print", "WD313", ""), "30");  // the rest of 92 after 1 + 40 + 21
  EXPECT_EQ(ini.ReadString("Print", "Pd314", ""), "Nic");

  s->PrintFormClick(print::kNormal);
  s->SaveBtnClick();
  plat::IniFile again(Ini());
  EXPECT_EQ(again.ReadSection("Print").size(), 10u + 33u - 1u);  // WD11 rewritten in place
  EXPECT_EQ(again.ReadString("Print", "WD11", ""), "5");
  EXPECT_EQ(again.ReadString("Print", "Pd44", ""), "URL");
  EXPECT_FALSE(again.ValueExists("Print", "PrintForm"));
}

TEST_F(PrintSetupTest, InitialResetsTheCurrentFormatOnly) {
  const std::string stored =
      "[Print]\r\nPrintForm=0\r\nScale_C=120\r\nWD211=9\r\nWD212=9\r\nPd211=URL\r\nScale=50\r\n";
  Open(stored);
  EXPECT_EQ(s->FormatIndex, print::kSimple);
  EXPECT_EQ(s->SimpleLayout.Scale, 120);
  s->ReStoreBtnClick();
  EXPECT_EQ(s->SimpleLayout.Scale, 100);
  EXPECT_EQ(Items(s->SimpleLayout, 1), (std::array<int, 4>{0, 1, 2, 3}));
  EXPECT_EQ(Row(s->SimpleLayout, 1), (std::array<int, 4>{1, 30, 21, 40}));
  EXPECT_EQ(Row(s->SimpleLayout, 3), (std::array<int, 4>{44, 14, 14, 20}));  // the Normal table
  EXPECT_EQ(Items(s->SimpleLayout, 3), (std::array<int, 4>{0, 0, 0, 0}));
  EXPECT_EQ(s->NormalLayout.Scale, 50);  // other formats untouched
  EXPECT_EQ(ReadBytes(Ini()), stored);   // nothing written

  // Export, Normal: tables C and D at 150 %.
  Open("[Export]\r\nScale=100\r\nPd11=URL\r\n", true);
  s->ReStoreBtnClick();
  EXPECT_EQ(s->NormalLayout.Scale, 150);
  EXPECT_EQ(Items(s->NormalLayout, 1), (std::array<int, 4>{0, 1, 0, 2}));
  // Detail: its own row and zeros below.
  s->PrintFormClick(print::kDetail);
  s->DetailLayout.Item(2, 2) = 5;
  s->ReStoreBtnClick();
  EXPECT_EQ(Items(s->DetailLayout, 2), (std::array<int, 4>{0, 0, 0, 0}));
  EXPECT_EQ(s->DetailLayout.Scale, 100);
  EXPECT_EQ(Row(s->DetailLayout, 1), (std::array<int, 4>{1, 40, 30, 21}));
  EXPECT_EQ(Row(s->DetailLayout, 2), (std::array<int, 4>{0, 0, 92, 0}));
}

TEST_F(PrintSetupTest, TargetAndFormatReachTheFileOnlyThroughRet) {
  Open("");
  s->PrintFormClick(print::kDetail);
  s->RadioPrintView = true;
  EXPECT_FALSE(testsupport::Exists(Ini()));  // closing any other way writes nothing
  s->CloseClick();
  plat::IniFile ini(Ini());
  EXPECT_EQ(ini.ReadSection("Print"), (std::vector<std::string>{"PrintForm", "PrintView"}));
  EXPECT_EQ(ini.ReadString("Print", "PrintForm", ""), "2");
  EXPECT_EQ(ini.ReadString("Print", "PrintView", ""), "1");
  Open("");
  EXPECT_EQ(s->FormatIndex, print::kDetail);
  EXPECT_TRUE(s->RadioPrintView);
  EXPECT_FALSE(s->RowVisible[1]);
  EXPECT_TRUE(s->DetailPanelVisible);
}

TEST_F(PrintSetupTest, FormatsShowTheirRowPanels) {
  Open("[Print]\r\nPrintForm=7\r\n");
  EXPECT_EQ(s->FormatIndex, print::kNormal);  // an index naming no format
  EXPECT_EQ(s->RowVisible, (std::array<bool, 4>{true, true, true, true}));
  s->PrintFormClick(print::kSimple);
  EXPECT_EQ(s->RowVisible, (std::array<bool, 4>{true, false, false, false}));
  EXPECT_FALSE(s->DetailPanelVisible);
  s->PrintFormClick(print::kDetail);
  EXPECT_EQ(s->RowVisible, (std::array<bool, 4>{true, false, false, false}));
  EXPECT_TRUE(s->DetailPanelVisible);
  EXPECT_EQ(s->PanelCaption[0][3], "Nic");
}

TEST_F(PrintSetupTest, ChoosingAnItemThroughTheList) {
  Open("");
  s->Pr_FormClick(23);
  EXPECT_TRUE(s->PrItemVisible);
  EXPECT_EQ(s->PrItemIndex, 5);  // Zip
  s->PrItemIndex = 10;
  // Another panel's click ends the open choice first.
  s->Pr_FormClick(41);
  EXPECT_EQ(s->NormalLayout.Item(2, 3), 10);
  EXPECT_EQ(s->PanelCaption[1][2], "PGP");
  EXPECT_EQ(s->CurPanel, 41);
  EXPECT_TRUE(s->PrItemVisible);
  s->PrItemIndex = 1;
  s->Pr_FormClick(0);  // Panel1
  EXPECT_FALSE(s->PrItemVisible);
  EXPECT_EQ(s->NormalLayout.Item(4, 1), 1);
  EXPECT_EQ(s->CurPanel, 0);
  // Leaving the list with nothing open changes nothing.
  s->PrItemIndex = 7;
  s->PrItemExit();
  EXPECT_EQ(s->NormalLayout.Item(4, 1), 1);
}

// Over a real main window: the group list and both targets.
class PrintSetupMain : public logictest::MainLogic {
 protected:
  struct Host : mainwin::MainHost {
    std::function<void(TPrintSetup&)> show;
    void ShowPrintSetup(TPrintSetup& setup) override {
      if (show) show(setup);
    }
  } host;

  void SetUp() override {
    WriteStandardBook();
    Bab("Personal/Work/Deep/deep.bab", logictest::Vcard("d@x", "Deep"));
    Start();
    main->Host = &host;
  }
  // Runs f in the window the command opens.
  void WithSetup(bool exportMode, const std::function<void(TPrintSetup&)>& f) {
    bool shown = false;
    host.show = [&](TPrintSetup& setup) {
      shown = true;
      setup.FormInit();
      f(setup);
    };
    if (exportMode)
      main->TextExportClick();
    else
      main->GoPrintClick();
    EXPECT_TRUE(shown);
  }
};

TEST_F(PrintSetupMain, GroupListAndItsThreeStateToggle) {
  CheckOnly({"Friends"});
  WithSetup(false, [&](TPrintSetup& s) {
    EXPECT_EQ(s.Section, "Print");
    ASSERT_EQ(s.PrintGroup.size(), 4u);
    EXPECT_EQ(s.PrintGroup[0].Caption, "Personal");
    EXPECT_EQ(s.PrintGroup[0].Image, 2);
    EXPECT_EQ(s.PrintGroup[1].Caption, "Friends");
    EXPECT_EQ(s.PrintGroup[1].Image, 1);
    EXPECT_EQ(s.PrintGroup[2].Image, 0);
    EXPECT_EQ(s.PrintGroup[1].TreeText, store::GroupTreeText(*s.PrintGroup[1].Group, 4, false));
    s.SelectAllClick();
    EXPECT_EQ(s.PrintGroup[0].Image, 2);
    EXPECT_EQ(s.PrintGroup[3].Image, 1);
    s.DeSelectClick();
    EXPECT_EQ(s.PrintGroup[0].Image, 2);
    EXPECT_EQ(s.PrintGroup[1].Image, 0);
    // A folder row: 2, then 0, then 1.
    s.SelectGroupClick(0);
    EXPECT_EQ(s.PrintGroup[0].Image, 0);
    s.SelectGroupClick(0);
    EXPECT_EQ(s.PrintGroup[0].Image, 1);
    s.SelectGroupClick(9);  // no such row
    EXPECT_EQ(s.PrintGroupRow, 0);
    // The checked folder prints its own (empty) card list.
    print::TPrintData job;
    s.BuildLines(job, true);
    ASSERT_EQ(job.Lines.size(), 5u + 2u);  // four title rows and the rule first
    EXPECT_EQ(job.Lines[5], "Group[Personal : ]");
  });
  // The list's checks never reach the main window.
  EXPECT_EQ(NodeNamed("Friends")->ImageIndex, 1);
}

TEST_F(PrintSetupMain, AlreadyExtractedFollowsTheGrid) {
  CheckOnly({"Friends"});
  main->TblTitleClick(1);  // sorted by address: a, b, c
  WithSetup(true, [&](TPrintSetup& s) {
    s.PrintFormClick(print::kSimple);
    s.RadioPrintView = true;
    print::TPrintData job;
    s.BuildLines(job, true);
    ASSERT_EQ(job.Lines.size(), 2u + 3u);
    // Grid numbers count in the one checked group: its file order c, a, b.
    EXPECT_EQ(job.Lines[2].substr(0, 8), " a@x    ");
    EXPECT_EQ(job.Lines[3].substr(0, 4), " b@x");
    EXPECT_EQ(job.Lines[4].substr(0, 4), " c@x");
    for (std::size_t i = 2; i < job.Lines.size(); ++i) EXPECT_EQ(job.Lines[i].size(), 61u);
  });
  CheckOnly({"Friends", "Work"});  // the whole book: a, b, c, d, w1
  WithSetup(true, [&](TPrintSetup& s) {
    s.RadioPrintView = true;
    print::TPrintData job;
    s.BuildLines(job, true);
    std::size_t cards = 0;
    for (const std::string& l : job.Lines) cards += l.rfind(" ", 0) == 0 && l.find("@x") != std::string::npos;
    EXPECT_EQ(cards, 4u);  // a, b, c, w1: Deep is not checked
  });
  CheckOnly({});  // "No Hit Address" only
  WithSetup(false, [&](TPrintSetup& s) {
    s.RadioPrintView = true;
    print::TPrintData job;
    s.BuildLines(job, false);
    EXPECT_TRUE(job.Lines.empty());
    EXPECT_FALSE(job.Header.empty());
  });
}

TEST_F(PrintSetupMain, ExportFileWithBackupAndTheSameClipboardText) {
  CheckOnly({"Work"});
  const std::string out = tmp / "out.txt";
  WriteBytes(out, "old content\r\n");
  std::string fileBytes;
  WithSetup(true, [&](TPrintSetup& s) {
    s.PrintFormClick(print::kSimple);
    dlg.inputs.push_back(out);
    s.PreViewClick("SendToFile");
    fileBytes = ReadBytes(out);
    s.PreViewClick("SendToClip");
    // Cancelling the file dialog writes nothing.
    dlg.inputs.push_back(std::nullopt);
    WriteBytes(out, "kept");
    s.PreViewClick("SendToFile");
    EXPECT_EQ(ReadBytes(out), "kept");
  });
  EXPECT_EQ(ReadBytes(tmp / "out.bak"), "old content\r\n");
  const std::string want = " Mail Address                       Name                     \r\n" + std::string(61, '-') +
                           "\r\nGroup[PersonalWork : ]\r\n" + print::PadRight(" w1@x", 36) + print::PadRight("Zed", 25) +
                           "\r\n" + print::PadRight(" a@x", 36) + print::PadRight("Alice", 25) + "\r\n" +
                           std::string(61, '=') + "\r\n";
  EXPECT_EQ(fileBytes, want);
  EXPECT_EQ(dlg.clipboard, fileBytes);
  EXPECT_TRUE(dlg.boxes.empty());
}

TEST_F(PrintSetupMain, ExportIntoAFolderThatIsNotThereSaysSo) {
  WithSetup(true, [&](TPrintSetup& s) {
    dlg.inputs.push_back(tmp / "missing/out.txt");
    s.PreViewClick("SendToFile");
  });
  ASSERT_EQ(dlg.boxes.size(), 1u);
  EXPECT_NE(dlg.boxes[0].text.find("File create error"), std::string::npos);
  EXPECT_FALSE(testsupport::Exists(tmp / "missing/out.txt"));
}

class ScriptedChooser : public print::PrinterChooser {
 public:
  print::Printer* printer = nullptr;
  print::TPrintDialogState asked;
  print::Printer* Choose(print::TPrintDialogState& state) override {
    asked = state;
    return printer;
  }
};

TEST_F(PrintSetupMain, PrintAndPreviewBuildTheirJobs) {
  CheckOnly({"Friends"});
  WithSetup(false, [&](TPrintSetup& s) {
    ScriptedChooser chooser;
    testprint::RecordingHost rhost;
    s.Chooser = &chooser;
    s.Host = &rhost;
    s.ExecPrintClick();  // cancelled: nothing happens
    EXPECT_TRUE(rhost.messages.empty());

    testprint::RecordingPrinter printer;
    chooser.printer = &printer;
    bool cancelShown = false;
    rhost.onEvents = [&] { cancelShown = s.CancelVisible && s.Printing != nullptr; };
    s.ExecPrintClick();
    EXPECT_TRUE(cancelShown);
    EXPECT_TRUE(printer.ended);
    ASSERT_FALSE(printer.sheets.empty());
    EXPECT_EQ(printer.FirstLines().front().substr(0, 13), " Mail Address");
    EXPECT_NE(printer.FirstLines().front().find("Page-1   "), std::string::npos);
    EXPECT_FALSE(s.CancelVisible);
    EXPECT_EQ(s.Printing, nullptr);

    s.PreViewClick("PreViewBtn");
    ASSERT_TRUE(s.PreviewJob);
    EXPECT_TRUE(s.PreviewVisible);
    EXPECT_FALSE(s.Panel1Visible);
    EXPECT_EQ(s.PreviewJob->TopMargin, 130);
    EXPECT_EQ(s.PreviewJob->Lines.size(), 7u);  // group, c (2 rows), a (2 rows), b, rule
    s.PreViewEndClick();
    EXPECT_FALSE(s.PreviewVisible);
    EXPECT_TRUE(s.Panel1Visible);
    EXPECT_FALSE(s.PreviewJob);
  });
}

TEST_F(PrintSetupMain, CancelWhilePrintingAbandonsTheDocument) {
  CheckOnly({"Friends", "Work"});
  WithSetup(false, [&](TPrintSetup& s) {
    s.SelectAllClick();
    ScriptedChooser chooser;
    testprint::RecordingHost rhost;
    testprint::RecordingPrinter printer(600, 4800, 1200);  // a few lines a page
    chooser.printer = &printer;
    s.Chooser = &chooser;
    s.Host = &rhost;
    rhost.onEvents = [&] { s.CancelClick(); };
    s.ExecPrintClick();
    EXPECT_TRUE(printer.aborted);
    EXPECT_EQ(printer.sheets.size(), 1u);
  });
}

}  // namespace
