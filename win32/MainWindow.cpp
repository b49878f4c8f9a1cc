// The main window: menu, status line, the findings of the last check with
// the checked text, recent files and file drops.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include <array>
#include <utility>

#include "Resource.h"
#include "Window.h"
#include "plugin/ReportHead.h"

namespace lintaro::win32 {

namespace {

constexpr const wchar_t* kClassName = L"MainClass";
constexpr int kStatusHeight = 32;  // at 96 DPI
constexpr int kMargin = 4;
constexpr int kButtonHeight = 26;
constexpr int kButtonWidth = 140;
constexpr std::size_t kDialogCount = 5;
// The menu commands that show a dialog.
constexpr std::array<std::pair<int, DialogKind>, kDialogCount> kDialogCommands = {{
    {CMD_CHECK_FILE, DialogKind::kCheckFile},
    {CMD_CHECK_SCRIPT, DialogKind::kScript},
    {CMD_PREFERENCES, DialogKind::kPreferences},
    {CMD_DEPENDENCIES, DialogKind::kDependencies},
    {CMD_FORMAT_FILE, DialogKind::kFormatFile},
}};

constexpr std::array<ListColumn, 4> kColumns = {{{L"Ligne", 50, LVCFMT_RIGHT},
                                                 {L"Type", 60, LVCFMT_LEFT},
                                                 {L"Code", 60, LVCFMT_LEFT},
                                                 {L"Message", 600, LVCFMT_LEFT}}};

// "&" shows the next letter underlined in a menu: a path's own "&" doubles.
std::wstring menuLabel(std::size_t index, const std::string& path) {
  std::wstring label = L"&" + std::to_wstring(index + 1) + L" ";
  for (const wchar_t c : wide(path)) {
    if (c == L'&') label += L'&';
    label += c;
  }
  return label;
}

class MainWindow {
 public:
  MainWindow(const ShellAddresses& addresses, std::wstring trace)
      : shell_(platform_, addresses), trace_(std::move(trace)) {}

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void create();
  void setFonts();
  void layout();
  void paintStatus();
  void refresh();
  void fillRecentMenu();
  void command(int id);
  void showDialog(DialogKind kind);
  void findingSelected(int index);
  void dropped(HDROP drop);

  HWND window_ = nullptr;
  Win32Platform platform_;
  Shell shell_;
  std::wstring trace_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  Fonts fonts_;
  HWND findings_ = nullptr;
  HWND openReport_ = nullptr;
  HWND scriptView_ = nullptr;
  HMENU files_ = nullptr;
  std::size_t recentItems_ = 0;  // menu items of the recent files, separator included
  std::vector<std::string> shownRecent_;
  std::size_t shownChecks_ = 0;
  std::array<HWND, kDialogCount> dialogs_{};
};

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    self->platform_.main = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    delete self;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->handle(message, wParam, lParam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      create();
      return 0;
    case WM_SIZE:
      layout();
      return 0;
    case WM_PAINT:
      paintStatus();
      return 0;
    case WM_COMMAND:
      command(LOWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == findings_ && header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uNewState & LVIS_SELECTED) != 0 && (change->uOldState & LVIS_SELECTED) == 0)
          findingSelected(change->iItem);
      }
      return 0;
    }
    case WM_DROPFILES:
      dropped(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      setFonts();
      for (std::size_t i = 0; i < kColumns.size(); ++i)
        ListView_SetColumnWidth(findings_, static_cast<int>(i), scaled(kColumns[i].width, dpi_));
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case kRefreshMessage:
      refresh();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void MainWindow::create() {
  dpi_ = GetDpiForWindow(window_);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  findings_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                              kChild | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0, 0, 0,
                              window_, reinterpret_cast<HMENU>(IDC_FINDINGS), instance, nullptr);
  prepareList(findings_, kColumns, dpi_);
  openReport_ =
      CreateWindowExW(0, WC_BUTTONW, L"&Ouvrir le rapport", kChild | BS_PUSHBUTTON, 0, 0, 0, 0,
                      window_, reinterpret_cast<HMENU>(CMD_OPEN_REPORT), instance, nullptr);
  EnableWindow(openReport_, FALSE);
  scriptView_ = CreateWindowExW(WS_EX_CLIENTEDGE, MSFTEDIT_CLASS, L"",
                                kChild | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                                    ES_NOHIDESEL | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                0, 0, 0, 0, window_, reinterpret_cast<HMENU>(IDC_SCRIPT_VIEW),
                                instance, nullptr);
  setFonts();
  prepareTextBox(scriptView_, fonts_.fixed, kMaxScriptBytes);
  files_ = GetSubMenu(GetMenu(window_), 0);
  DragAcceptFiles(window_, TRUE);
  shell_.onCreate();
  fillRecentMenu();
}

void MainWindow::setFonts() {
  fonts_.create(dpi_);
  for (HWND control : {findings_, openReport_})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.text), TRUE);
  SendMessageW(scriptView_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.fixed), TRUE);
}

// The status line on top, the findings, the button that opens the report,
// and the checked text.
void MainWindow::layout() {
  RECT client{};
  GetClientRect(window_, &client);
  const int width = static_cast<int>(client.right);
  const int status = scaled(kStatusHeight, dpi_);
  const int margin = scaled(kMargin, dpi_);
  const int buttonHeight = scaled(kButtonHeight, dpi_);
  const int buttonWidth = scaled(kButtonWidth, dpi_);
  const int lists =
      std::max(static_cast<int>(client.bottom) - status - buttonHeight - 3 * margin, 0);
  const int listHeight = lists / 2;
  const int buttonTop = status + listHeight + margin;
  const int viewTop = buttonTop + buttonHeight + margin;
  MoveWindow(findings_, margin, status, std::max(width - 2 * margin, 0), listHeight, TRUE);
  MoveWindow(openReport_, std::max(width - margin - buttonWidth, margin), buttonTop, buttonWidth,
             buttonHeight, TRUE);
  MoveWindow(scriptView_, margin, viewTop, std::max(width - 2 * margin, 0),
             std::max(static_cast<int>(client.bottom) - viewTop - margin, 0), TRUE);
  RECT strip{0, 0, width, status};
  InvalidateRect(window_, &strip, TRUE);
}

void MainWindow::paintStatus() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window_, &paint);
  RECT strip{};
  GetClientRect(window_, &strip);
  strip.bottom = scaled(kStatusHeight, dpi_);
  const std::string& text = shell_.statusLine();
  const HGDIOBJ previous = SelectObject(dc, fonts_.text);
  SetTextColor(dc, RGB(0x50, 0x50, 0x50));
  SetBkMode(dc, TRANSPARENT);
  std::wstring shown = wide(text);
  DrawTextW(dc, shown.data(), static_cast<int>(shown.size()), &strip,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, previous);
  EndPaint(window_, &paint);
  // Test hook: the end-to-end test reads the drawn status line from this file.
  writeTrace(trace_, text);
}

void MainWindow::refresh() {
  RECT strip{};
  GetClientRect(window_, &strip);
  strip.bottom = scaled(kStatusHeight, dpi_);
  InvalidateRect(window_, &strip, TRUE);
  UpdateWindow(window_);
  fillRecentMenu();
  if (shell_.checkCount() == shownChecks_) return;
  shownChecks_ = shell_.checkCount();
  const CheckView& view = shell_.lastCheck();
  SendMessageW(findings_, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(findings_);
  for (const Finding& finding : view.findings) {
    std::array<std::wstring, kColumns.size()> cells = {
        finding.line > 0 ? std::to_wstring(finding.line) : L"-", wide(kindLabel(finding.error)),
        wide(finding.code), wide(finding.message)};
    addListRow(findings_, cells);
  }
  SendMessageW(findings_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(findings_, nullptr, TRUE);
  setTextBoxText(scriptView_, view.text);
  EnableWindow(openReport_, view.valid ? TRUE : FALSE);
}

// The recent files stand before "Version Shell" and "Quitter", after a
// separator of their own.
void MainWindow::fillRecentMenu() {
  if (shell_.recentFiles() == shownRecent_ || files_ == nullptr) return;
  const int end = GetMenuItemCount(files_) - 2;
  for (std::size_t i = 0; i < recentItems_; ++i)
    DeleteMenu(files_, static_cast<UINT>(end - static_cast<int>(recentItems_)), MF_BYPOSITION);
  recentItems_ = 0;
  shownRecent_ = shell_.recentFiles();
  auto at = static_cast<UINT>(GetMenuItemCount(files_) - 2);
  if (!shownRecent_.empty()) {
    InsertMenuW(files_, at++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    ++recentItems_;
  }
  for (std::size_t i = 0; i < shownRecent_.size(); ++i) {
    InsertMenuW(files_, at++, MF_BYPOSITION | MF_STRING, CMD_RECENT_FIRST + i,
                menuLabel(i, shownRecent_[i]).c_str());
    ++recentItems_;
  }
}

void MainWindow::showDialog(DialogKind kind) {
  HWND& dialog = dialogs_[static_cast<std::size_t>(kind)];
  if (dialog == nullptr) {
    dialog = createShellDialog(window_, shell_, kind);
    if (dialog == nullptr) return;
    placeBeside(window_, dialog);
  }
  ShowWindow(dialog, SW_SHOWNORMAL);
  SetForegroundWindow(dialog);
}

void MainWindow::command(int id) {
  if (id >= CMD_RECENT_FIRST && id < CMD_RECENT_FIRST + static_cast<int>(kRecentFileCount)) {
    shell_.checkRecent(static_cast<std::size_t>(id - CMD_RECENT_FIRST));
    return;
  }
  for (const auto& [command, kind] : kDialogCommands) {
    if (id == command) {
      showDialog(kind);
      return;
    }
  }
  switch (id) {
    case CMD_CHECK_PLUGIN:
      choosePlugin(window_, shell_, trace_);
      break;
    case CMD_OPEN_REPORT:
      shell_.openReport();
      break;
    case CMD_CLEAN:
      shell_.clean();
      break;
    case CMD_RESET:
      shell_.reset();
      break;
    case CMD_HELP:
      shell_.help();
      break;
    case CMD_SITE:
      shell_.site();
      break;
    case CMD_ABOUT:
      shell_.about();
      break;
    case CMD_CONTACT:
      shell_.contact();
      break;
    case CMD_CONSOLE:
      if (shell_.startConsoleVersion()) DestroyWindow(window_);
      break;
    case CMD_QUIT:
      DestroyWindow(window_);
      break;
    default:
      break;
  }
}

void MainWindow::findingSelected(int index) {
  if (index < 0) return;
  const std::optional<TextSpan> span = shell_.findingSpan(static_cast<std::size_t>(index));
  if (!span) return;
  const CheckView& view = shell_.lastCheck();
  std::string selected = selectInTextBox(scriptView_, view.text, *span);
  HWND script = dialogs_[static_cast<std::size_t>(DialogKind::kScript)];
  if (view.pasted && script != nullptr && IsWindowVisible(script))
    selected = selectInScriptDialog(script, view.text, *span);
  // Test hook: the end-to-end test reads the selected line from this file.
  if (!trace_.empty()) writeTrace(trace_ + L".selection", selected);
}

// A plugin opens its dialog; any other file is checked as a script.
void MainWindow::dropped(HDROP drop) {
  std::string path;
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length > 0 && length <= static_cast<UINT>(kMaxPathCharacters)) {
      std::wstring name(length + 1, L'\0');
      const UINT copied = DragQueryFileW(drop, 0, name.data(), length + 1);
      name.resize(std::min(copied, length));
      path = utf8(name);
    }
  }
  DragFinish(drop);
  if (path.empty()) return;
  if (plugin::isPluginPath(path)) {
    openPluginDialog(window_, shell_, path, trace_);
    return;
  }
  shell_.checkDroppedFile(path);
}

}  // namespace

bool registerMainWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = MainWindow::procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  const auto icon = [instance](int size) {
    HANDLE loaded = LoadImageW(instance, MAKEINTRESOURCEW(IDI_LINTARO), IMAGE_ICON, size, size,
                               LR_DEFAULTCOLOR);
    if (loaded == nullptr) loaded = LoadIconW(nullptr, IDI_APPLICATION);
    return static_cast<HICON>(loaded);
  };
  windowClass.hIcon = icon(GetSystemMetrics(SM_CXICON));
  windowClass.hIconSm = icon(GetSystemMetrics(SM_CXSMICON));
  return RegisterClassExW(&windowClass) != 0;
}

HWND createMainWindow(HINSTANCE instance, const ShellAddresses& addresses, std::wstring trace) {
  // The window deletes itself when destroyed (WM_NCDESTROY); when it cannot
  // be created the program ends at once.
  auto* window = new MainWindow(addresses, std::move(trace));
  const UINT dpi = GetDpiForSystem();
  return CreateWindowExW(0, kClassName, L"Lintaro", WS_OVERLAPPEDWINDOW, 0, 0, scaled(460, dpi),
                         scaled(440, dpi), nullptr, LoadMenuW(instance, MAKEINTRESOURCEW(IDM_MAIN)),
                         instance, window);
}

}  // namespace lintaro::win32
