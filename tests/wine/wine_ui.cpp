#include "wine/wine_ui.h"

namespace wine_ui {

std::string Text(HWND hwnd) {
  char buffer[512] = {};
  const int n = GetWindowTextA(hwnd, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? n : 0);
}

std::string ClassName(HWND hwnd) {
  char buffer[64] = {};
  const int n = GetClassNameA(hwnd, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? n : 0);
}

std::vector<HWND> Children(HWND dialog) {
  std::vector<HWND> out;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    out.push_back(child);
  return out;
}

void Pump::Run() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit_ = true;
      quitCode_ = msg.wParam;
      continue;
    }
    if (IsWindow(dialog_) && IsDialogMessageA(dialog_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Pump::Press(UINT vk, bool alt) {
  HWND target = GetFocus();
  if (!target) target = dialog_;
  // Repeat count 1; with Alt held the keyboard sends the system variant with bit 29 set.
  const LPARAM down = 1 | (alt ? KF_ALTDOWN << 16 : 0);
  const LPARAM up = down | (KF_REPEAT | KF_UP) << 16;
  PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, down);
  PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk, up);
  Run();
}

namespace {

std::vector<Box> g_boxes;
HWND g_answered;
DLGPROC g_own;

Box Read(HWND box) {
  Box out{Text(box), "", GetWindow(box, GW_OWNER), false, false};
  out.ownerEnabled = out.owner && IsWindowEnabled(out.owner);
  for (HWND child : Children(box)) {
    if (ClassName(child) != "Static") continue;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      out.hasIcon = out.hasIcon || SendMessageA(child, STM_GETICON, 0, 0) != 0;
    else
      out.text += Text(child);
  }
  return out;
}

// A box is activated once it is complete and about to be shown: what a user would read.
LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    const DLGPROC proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(box, DWLP_DLGPROC));
    if (box != g_answered && proc != g_own) {
      g_answered = box;
      g_boxes.push_back(Read(box));
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

BoxCatcher::BoxCatcher(DLGPROC own) {
  g_own = own;
  g_boxes.clear();
  g_answered = nullptr;
  hook_ = SetWindowsHookExA(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
}

BoxCatcher::~BoxCatcher() {
  if (hook_) UnhookWindowsHookEx(hook_);
}

const std::vector<Box>& BoxCatcher::boxes() const { return g_boxes; }

namespace {

int g_restartCalls;

BOOL WINAPI RefuseRestart(UINT, DWORD) {
  ++g_restartCalls;
  SetLastError(ERROR_PRIVILEGE_NOT_HELD);
  return FALSE;
}

// This program's import slot for user32's function `name`: the address every call made by
// the program's code goes through.
void** ImportSlot(const char* name) {
  const FARPROC target = GetProcAddress(GetModuleHandleA("user32.dll"), name);
  if (!target) return nullptr;
  BYTE* const base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return nullptr;
  for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); dll->Name;
       ++dll) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
         slot->u1.Function; ++slot) {
      if (reinterpret_cast<FARPROC>(slot->u1.Function) == target)
        return reinterpret_cast<void**>(&slot->u1.Function);
    }
  }
  return nullptr;
}

bool Patch(void** slot, void* value) {
  DWORD old;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return false;
  *slot = value;
  VirtualProtect(slot, sizeof *slot, old, &old);
  return true;
}

}  // namespace

RestartGuard::RestartGuard() : slot_(ImportSlot("ExitWindowsEx")), original_(nullptr) {
  g_restartCalls = 0;
  if (!slot_) return;
  original_ = *slot_;
  if (!Patch(slot_, reinterpret_cast<void*>(&RefuseRestart))) slot_ = nullptr;
}

RestartGuard::~RestartGuard() {
  if (slot_) Patch(slot_, original_);
}

int RestartGuard::calls() { return g_restartCalls; }

void PrintTo(const BackOut& way, std::ostream* os) { *os << way.name; }

void PressEscape(HWND, Pump& pump) { pump.Press(VK_ESCAPE); }

void ClickCloseBox(HWND dialog, Pump& pump) {
  SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  pump.Run();
}

}  // namespace wine_ui
