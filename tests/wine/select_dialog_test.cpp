// The program's own dialog procedure inside Wine's real dialog manager, on a c:\boot.ini in
// the test prefix: what the list shows, and the commands a user can give that neither switch
// the system nor restart it. Boxes answer themselves and a restart can never go out.
#include "dialog/select_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "bootcfg/boot_file.h"
#include "res/resource.h"
#include "res/ui_text.h"
#include "support/boot_fixture.h"
#include "wine/wine_ui.h"

namespace {

using wine_ui::BackOut;
using wine_ui::Box;
using wine_ui::BoxCatcher;
using wine_ui::Pump;
using wine_ui::RestartGuard;

using sample::k2000Path;
using sample::kXpPath;
const char kXpJapanesePath[] = "multi(0)disk(0)rdisk(0)partition(3)\\WINXPJ";
// Not in sorted order, and one line in Shift_JIS (日本語版), as Japanese Setup writes it.
const char kDesc0[] = "Windows XP Professional";
const char kDesc1[] = "Windows 2000";
const char kDesc2[] = "Microsoft Windows XP \x93\xfa\x96\x7b\x8c\xea\x94\xc5";

std::string BootIni(const std::string& timeout, const std::string& deflt) {
  return sample::BootIni(
      timeout, deflt,
      sample::OsLine(kXpPath, kDesc0, "/fastdetect") +
          sample::OsLine(k2000Path, kDesc1, "/fastdetect") +
          sample::OsLine(kXpJapanesePath, kDesc2, "/noexecute=optin /fastdetect"));
}

const std::string kBootIni = BootIni("30", kXpPath);

class SelectDialogTest : public BootFileTest {
 protected:
  void SetUp() override {
    BootFileTest::SetUp();
    ASSERT_EQ(GetACP(), 932u) << "the Japanese code page comes from LANG=ja_JP.UTF-8";
    ASSERT_TRUE(guard_.installed()) << "a restart could escape; nothing is run";
    ASSERT_TRUE(boxes_.installed());
  }

  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
    pump_.Run();
    EXPECT_EQ(RestartGuard::calls(), 0) << "a restart was requested";
    BootFileTest::TearDown();
  }

  // Creates and shows the dialog as the program does.
  void Open() {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SELECT), nullptr,
                                 SelectDlgProc, 0);
    ASSERT_NE(dialog_, nullptr) << "no window at all: the Wine prefix needs a graphics "
                                   "driver (tools/wine-run PREFIX --init --windowless)";
    pump_ = Pump(dialog_);
    ShowWindow(dialog_, SW_SHOWNORMAL);
    UpdateWindow(dialog_);
    pump_.Run();
  }

  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    HWND list = Item(IDC_OSLIST);
    for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
      char text[300] = {};
      if (SendMessageA(list, LB_GETTEXTLEN, i, 0) >= LRESULT(sizeof text)) break;
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      rows.push_back(text);
    }
    return rows;
  }

  void Select(int row) {
    ASSERT_EQ(SendDlgItemMessageA(dialog_, IDC_OSLIST, LB_SETCURSEL, row, 0), row);
  }

  // A mouse click on the button, which reports it to the dialog as a user's click does.
  void Click(int id) {
    SendMessageA(Item(id), BM_CLICK, 0, 0);
    pump_.Run();
  }

  // The window still open and usable, and the program not ending.
  void ExpectStillOpen() {
    EXPECT_TRUE(IsWindow(dialog_));
    EXPECT_TRUE(IsWindowVisible(dialog_));
    EXPECT_TRUE(IsWindowEnabled(dialog_));
    EXPECT_FALSE(pump_.quit());
  }

  void ExpectEnded() {
    EXPECT_FALSE(IsWindowVisible(dialog_));
    EXPECT_TRUE(pump_.quit());
    EXPECT_EQ(pump_.quitCode(), 0u);
  }

  RestartGuard guard_;
  BoxCatcher boxes_{SelectDlgProc};
  HWND dialog_ = nullptr;
  Pump pump_{nullptr};
};

struct ListCase {
  const char* name;
  const char* file;  // nullptr: no boot file at all
  std::vector<std::string> rows;
};

void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

const ListCase kListCases[] = {
    {"NoBootFile", nullptr, {}},
    {"ThreeSystems", kBootIni.c_str(), {kDesc0, kDesc1, kDesc2}},
    {"NoSystemsSection", "[boot loader]\r\ntimeout=30\r\n", {}},
};

class ListTest : public SelectDialogTest, public ::testing::WithParamInterface<ListCase> {};

// The rows are the descriptions, byte for byte, in the file's order. Enter right away, with
// nothing selected, is IDOK with no row: nothing is written, shown or restarted.
TEST_P(ListTest, ShowsTheFileAndEnterWithoutASelectionDoesNothing) {
  const ListCase& c = GetParam();
  if (c.file) WriteBootFile(c.file);
  const std::string before = ReadBootFile();
  Open();
  EXPECT_EQ(Rows(), c.rows);
  EXPECT_EQ(GetFocus(), Item(IDC_OSLIST));
  ASSERT_EQ(SendDlgItemMessageA(dialog_, IDC_OSLIST, LB_GETCURSEL, 0, 0), LB_ERR);

  pump_.Press(VK_RETURN);
  ExpectStillOpen();
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(ReadBootFile(), before);
}

INSTANTIATE_TEST_SUITE_P(Files, ListTest, ::testing::ValuesIn(kListCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Backing out with a system selected ends the program and leaves the file alone.
const BackOut kBackOuts[] = {
    {"EscapeKey", wine_ui::PressEscape},
    {"CloseBox", wine_ui::ClickCloseBox},
    {"CancelButton",
     [](HWND dialog, Pump& pump) {
       SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
       pump.Run();
     }},
};

class BackOutTest : public SelectDialogTest, public ::testing::WithParamInterface<BackOut> {};

TEST_P(BackOutTest, EndsTheProgramWithoutWriting) {
  WriteBootFile(kBootIni);
  Open();
  Select(1);
  GetParam().act(dialog_, pump_);
  ExpectEnded();
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(ReadBootFile(), kBootIni);
}

INSTANTIATE_TEST_SUITE_P(Ways, BackOutTest, ::testing::ValuesIn(kBackOuts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectDialogTest, AboutShowsItsBoxOverTheWindowWhichStaysOpen) {
  WriteBootFile(kBootIni);
  Open();
  Click(IDC_ABOUT);
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  const Box& box = boxes_.boxes()[0];
  EXPECT_EQ(box.caption, kCaptionAbout);
  EXPECT_EQ(box.text, kTextAbout);
  EXPECT_EQ(box.owner, dialog_);
  EXPECT_FALSE(box.ownerEnabled) << "the box must be modal to the window";
  ExpectStillOpen();
  EXPECT_EQ(ReadBootFile(), kBootIni);
}

// The selected system becomes the default, the loader's menu will wait, the window goes and
// the user is told how the next start works.
TEST_F(SelectDialogTest, ChooseAtStartUpWritesTheMenuSettingsThenTellsAndEnds) {
  WriteBootFile(kBootIni);
  Open();
  Select(1);
  Click(IDC_BOOTMENU);
  EXPECT_EQ(ReadBootFile(), BootIni("-1", k2000Path));
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  const Box& box = boxes_.boxes()[0];
  EXPECT_EQ(box.caption, kCaptionBootMenuInfo);
  EXPECT_EQ(box.text, kTextBootMenuInfo);
  EXPECT_EQ(box.owner, dialog_);
  ExpectEnded();
}

// Another program holding the file: the user hears that nothing was written, and the window
// stays for another try.
TEST_F(SelectDialogTest, ChooseAtStartUpOnAHeldFileSaysSoAndStays) {
  WriteBootFile(kBootIni);
  Open();
  Select(1);
  {
    ExclusiveHold hold;
    ASSERT_TRUE(hold.Holding());
    Click(IDC_BOOTMENU);
  }
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  const Box& box = boxes_.boxes()[0];
  EXPECT_EQ(box.caption, kAppName);
  EXPECT_EQ(box.text, kTextNotWritten);
  EXPECT_TRUE(box.hasIcon);
  EXPECT_EQ(box.owner, dialog_);
  ExpectStillOpen();
  EXPECT_EQ(ReadBootFile(), kBootIni);
}

}  // namespace
