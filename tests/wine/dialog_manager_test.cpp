// The selection dialog as Wine's own dialog manager builds it from the program's template,
// run by a procedure that only records: what the user sees when it opens, and what each key
// and each way of closing it turns into before the program's procedure ever hears of it.
#include <gtest/gtest.h>
#include <windows.h>

#include <iterator>
#include <string>
#include <vector>

#include "res/resource.h"
#include "wine/wine_ui.h"

namespace {

using wine_ui::BackOut;
using wine_ui::Children;
using wine_ui::ClassName;
using wine_ui::Pump;
using wine_ui::Text;

// Shift_JIS spelled out byte by byte, so that the comparison does not lean on the compiler's
// own conversion of literals: the window texts come from the template's UTF-16 through the
// ANSI code page alone.
const char kCaption[] =  // どのOSに切り替えますか？
    "\x82\xc7\x82\xcc"
    "OS"
    "\x82\xc9\x90\xd8\x82\xe8\x91\xd6\x82\xa6\x82\xdc\x82\xb7\x82\xa9"
    "\x81\x48";
const char kSwitchText[] =
    "OS"
    "\x90\xd8\x82\xe8\x91\xd6\x82\xa6\x8e\xc0\x8d\x73";                   // OS切り替え実行
const char kBootMenuText[] = "\x8b\x4e\x93\xae\x8e\x9e\x91\x49\x91\xf0";  // 起動時選択
const char kCancelText[] = "\x92\x86\x8e\x7e";                            // 中止

DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }

// A control id of -1 in the template reaches the window as the 16-bit 0xFFFF.
const int kIconId = 0xFFFF;

std::vector<WPARAM> g_commands;
HWND g_initialFocus;

// The list tells its parent when it gains or loses the focus (LBS_NOTIFY); those are not
// commands anybody gave.
bool IsFocusNote(WPARAM wParam) {
  return LOWORD(wParam) == IDC_OSLIST &&
         (HIWORD(wParam) == LBN_SETFOCUS || HIWORD(wParam) == LBN_KILLFOCUS);
}

INT_PTR CALLBACK Recorder(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    g_initialFocus = reinterpret_cast<HWND>(wParam);
    return TRUE;  // the dialog manager picks the focus
  }
  if (message == WM_COMMAND) {
    if (!IsFocusNote(wParam)) g_commands.push_back(wParam);
    return TRUE;
  }
  return FALSE;
}

class DialogManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "the Japanese code page comes from LANG=ja_JP.UTF-8";
    g_commands.clear();
    g_initialFocus = nullptr;
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SELECT), nullptr,
                                 Recorder, 0);
    ASSERT_NE(dialog_, nullptr) << "no window at all: the Wine prefix needs a graphics "
                                   "driver (tools/wine-run PREFIX --init --windowless)";
    pump_ = Pump(dialog_);
  }

  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
    pump_.Run();
  }

  void Show() {
    ShowWindow(dialog_, SW_SHOWNORMAL);
    UpdateWindow(dialog_);
    pump_.Run();
  }

  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  int FocusId() const { return GetDlgCtrlID(GetFocus()); }

  // Moves the focus the way the dialog manager itself does on Tab, default button included.
  void FocusOn(int id) {
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
    pump_.Run();
  }

  HWND dialog_ = nullptr;
  Pump pump_{nullptr};
};

// The bits are checked one by one rather than as one value: the dialog manager adds
// DS_3DLOOK and window creation adds WS_CLIPSIBLINGS, neither of which a user would notice.
TEST_F(DialogManagerTest, OpensHiddenAsAFixedSystemModalFrameAskingTheQuestion) {
  const DWORD style = Style(dialog_);
  const DWORD kept[] = {WS_POPUP,         WS_CAPTION,  WS_SYSMENU, DS_MODALFRAME,
                        DS_SETFOREGROUND, DS_SYSMODAL, DS_CENTER};
  for (DWORD bits : kept) EXPECT_EQ(style & bits, bits) << std::hex << "style bits 0x" << bits;
  // Not a child, not resizable, nothing to minimise or maximise, and not shown before the
  // program asks for it.
  const DWORD absent[] = {WS_CHILD, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_VISIBLE};
  for (DWORD bits : absent) EXPECT_EQ(style & bits, 0u) << std::hex << "style bits 0x" << bits;
  EXPECT_TRUE(GetWindowLongA(dialog_, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(IsWindowVisible(dialog_));
  EXPECT_EQ(Text(dialog_), kCaption);

  Show();
  EXPECT_TRUE(IsWindowVisible(dialog_));
  EXPECT_EQ(GetForegroundWindow(), dialog_);
  // Centred on the work area, to within the pixel lost halving an odd difference.
  RECT window, work;
  ASSERT_TRUE(GetWindowRect(dialog_, &window));
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_NEAR(window.left + window.right, work.left + work.right, 1);
  EXPECT_NEAR(window.top + window.bottom, work.top + work.bottom, 1);
}

TEST_F(DialogManagerTest, ControlsComeInTabOrderWithTheirTexts) {
  struct Expected {
    int id;
    const char* className;
    const char* text;  // nullptr: the icon, whose window text is only its resource name
    bool tabStop;
  };
  const Expected kControls[] = {
      {IDC_OSLIST, "ListBox", "", true},
      {IDOK, "Button", kSwitchText, true},
      {IDC_BOOTMENU, "Button", kBootMenuText, true},
      {IDCANCEL, "Button", kCancelText, true},
      {kIconId, "Static", nullptr, false},
      {IDC_ABOUT, "Button", "about", true},
  };
  const std::vector<HWND> children = Children(dialog_);
  ASSERT_EQ(children.size(), std::size(kControls));
  for (size_t i = 0; i < children.size(); ++i) {
    const Expected& want = kControls[i];
    SCOPED_TRACE(testing::Message() << "control " << i << ", id " << want.id);
    HWND child = children[i];
    EXPECT_EQ(GetDlgCtrlID(child), want.id);
    EXPECT_EQ(ClassName(child), want.className);
    if (want.text) {
      EXPECT_EQ(Text(child), want.text);
    }
    const DWORD style = Style(child);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ((style & WS_TABSTOP) != 0, want.tabStop);
    EXPECT_TRUE(IsWindowEnabled(child));
  }
}

// Rows must stay in the boot file's order: row i is written back as line i's system.
TEST_F(DialogManagerTest, ListIsASingleSelectionUnsortedNotifyingList) {
  HWND list = Item(IDC_OSLIST);
  const DWORD style = Style(list);
  EXPECT_EQ(style & LBS_SORT, 0u);
  EXPECT_EQ(style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0u);
  EXPECT_EQ(style & LBS_NOTIFY, DWORD(LBS_NOTIFY));

  for (const char* row : {"b", "a", "c"})
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
  std::vector<std::string> rows;
  for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
    char text[16] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    rows.push_back(text);
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"b", "a", "c"}));
}

TEST_F(DialogManagerTest, IconShowsTheProgramIcon) {
  HWND icon = Item(kIconId);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(Style(icon) & SS_TYPEMASK, DWORD(SS_ICON));
  const HICON shown = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
  ASSERT_NE(shown, nullptr);
  // Both come from the shared icon cache, so the program's icon is the very same handle.
  EXPECT_EQ(shown, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN)));
}

// The program's procedure returns TRUE from WM_INITDIALOG and leaves the focus to the dialog
// manager: the list must get it, with no row selected, so that Enter right after the window
// opens cannot switch to anything.
TEST_F(DialogManagerTest, FocusStartsOnTheListWithNothingSelectedAndNoButtonDefault) {
  HWND list = Item(IDC_OSLIST);
  EXPECT_EQ(g_initialFocus, list);
  EXPECT_EQ(GetFocus(), list);
  for (const char* row : {"XP", "2000"})
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
  Show();
  EXPECT_EQ(GetFocus(), list);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
  for (HWND child : Children(dialog_)) {
    if (ClassName(child) != "Button") continue;
    EXPECT_EQ(Style(child) & BS_TYPEMASK, DWORD(BS_PUSHBUTTON))
        << "button " << GetDlgCtrlID(child) << " is drawn as the default";
  }
  // With no default button in the template, the dialog manager still names IDOK as its
  // default id: that is what Enter on the list turns into.
  EXPECT_EQ(SendMessageA(dialog_, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
  EXPECT_TRUE(g_commands.empty());
}

TEST_F(DialogManagerTest, TabVisitsEveryCommandInTemplateOrderAndShiftTabGoesBack) {
  Show();
  ASSERT_EQ(FocusId(), IDC_OSLIST);
  std::vector<int> forward;
  for (int i = 0; i < 5; ++i) {
    pump_.Press(VK_TAB);
    forward.push_back(FocusId());
  }
  EXPECT_EQ(forward, (std::vector<int>{IDOK, IDC_BOOTMENU, IDCANCEL, IDC_ABOUT, IDC_OSLIST}));

  BYTE keys[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  keys[VK_SHIFT] = 0x80;
  ASSERT_TRUE(SetKeyboardState(keys));
  std::vector<int> backward;
  for (int i = 0; i < 5; ++i) {
    pump_.Press(VK_TAB);
    backward.push_back(FocusId());
  }
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(backward, (std::vector<int>{IDC_ABOUT, IDCANCEL, IDC_BOOTMENU, IDOK, IDC_OSLIST}));
  // Tabbing never presses anything.
  EXPECT_TRUE(g_commands.empty());
}

// Enter presses the focused button; on the list it is the dialog manager's default, IDOK. A
// button keeps the default role only while it has the focus.
struct EnterCase {
  const char* name;
  int focus;
  WPARAM command;
};

void PrintTo(const EnterCase& c, std::ostream* os) { *os << c.name; }

const EnterCase kEnterCases[] = {
    {"OnTheList", IDC_OSLIST, IDOK},
    {"OnSwitch", IDOK, IDOK},
    {"OnChooseAtStartUp", IDC_BOOTMENU, IDC_BOOTMENU},
    {"OnCancel", IDCANCEL, IDCANCEL},
    {"OnAbout", IDC_ABOUT, IDC_ABOUT},
};

class EnterKeyTest : public DialogManagerTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterKeyTest, PressesTheFocusedButtonOrTheDefault) {
  const EnterCase& c = GetParam();
  Show();
  // Through another button first, so that a default left behind by it would show.
  FocusOn(IDC_BOOTMENU);
  FocusOn(c.focus);
  ASSERT_EQ(FocusId(), c.focus);
  pump_.Press(VK_RETURN);
  // A command's wParam carries BN_CLICKED (0) in its high word: the whole value is the id.
  EXPECT_EQ(g_commands, std::vector<WPARAM>{c.command});
  EXPECT_EQ(FocusId(), c.focus);
}

INSTANTIATE_TEST_SUITE_P(Enter, EnterKeyTest, ::testing::ValuesIn(kEnterCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Every way a user backs out of the window reaches the procedure as IDCANCEL, and nothing
// else does.
const BackOut kBackOuts[] = {
    {"EscapeKey", wine_ui::PressEscape},
    {"AltF4", [](HWND, Pump& pump) { pump.Press(VK_F4, true); }},
    {"CloseBox", wine_ui::ClickCloseBox},
    {"CloseMessage",
     [](HWND dialog, Pump& pump) {
       PostMessageA(dialog, WM_CLOSE, 0, 0);
       pump.Run();
     }},
};

class BackOutRouteTest : public DialogManagerTest, public ::testing::WithParamInterface<BackOut> {};

TEST_P(BackOutRouteTest, ArrivesAsCancel) {
  Show();
  GetParam().act(dialog_, pump_);
  EXPECT_EQ(g_commands, std::vector<WPARAM>{IDCANCEL});
}

INSTANTIATE_TEST_SUITE_P(Ways, BackOutRouteTest, ::testing::ValuesIn(kBackOuts),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
