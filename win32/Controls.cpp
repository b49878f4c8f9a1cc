// What the window's parts share: text conversions, the rich edit boxes, the
// file chooser, fonts, resizing, placement and the platform.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cmath>

#include "Window.h"
#include "core/WideText.h"

namespace lintaro::win32 {

std::wstring wide(std::string_view utf8Text) {
  return wideFromUtf8(utf8Text);
}

std::string utf8(std::wstring_view text) {
  return utf8FromWide(text);
}

std::string windowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
  return utf8(text);
}

void setWindowText(HWND window, const std::string& utf8Text) {
  SetWindowTextW(window, wide(utf8Text).c_str());
}

void prepareTextBox(HWND box, HFONT font, std::size_t limit) {
  SendMessageW(box, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageW(box, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(limit));
  // Long lines scroll instead of wrapping.
  SendMessageW(box, EM_SETTARGETDEVICE, 0, 1);
  SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageW(box, EM_SETEVENTMASK, 0, ENM_SELCHANGE);
  // A tab stop every four characters, as the game's script editor has them.
  HDC dc = GetDC(box);
  const HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int twips = MulDiv(metrics.tmAveCharWidth * 4, 1440, GetDeviceCaps(dc, LOGPIXELSX));
  SelectObject(dc, previous);
  ReleaseDC(box, dc);
  PARAFORMAT tabs{};
  tabs.cbSize = sizeof(tabs);
  tabs.dwMask = PFM_TABSTOPS;
  tabs.cTabCount = MAX_TAB_STOPS;
  for (int i = 0; i < MAX_TAB_STOPS; ++i)
    tabs.rgxTabs[i] = twips * (i + 1);
  SendMessageW(box, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&tabs));
}

std::string textBoxText(HWND box) {
  GETTEXTLENGTHEX lengthQuery{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
  const LRESULT length =
      SendMessageW(box, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GETTEXTEX query{};
  query.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  query.flags = GT_USECRLF;
  query.codepage = 1200;
  const LRESULT copied = SendMessageW(box, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return utf8(text);
}

void setTextBoxText(HWND box, std::string_view utf8Text) {
  // The box keeps one character per line break: CR LF and LF alike.
  std::string text;
  text.reserve(utf8Text.size() + utf8Text.size() / 16);
  for (std::size_t i = 0; i < utf8Text.size(); ++i) {
    if (utf8Text[i] == '\n' && (i == 0 || utf8Text[i - 1] != '\r')) text += '\r';
    text += utf8Text[i];
  }
  SetWindowTextW(box, wide(text).c_str());
}

namespace {

// The box's position of the character `characters` of an LF text: one unit
// per character and per line break, two for a character beyond U+FFFF.
LONG boxPosition(std::string_view text, std::size_t characters) {
  LONG units = 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size() && count < characters; ++count) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    units += length == 4 ? 2 : 1;
    i += length;
  }
  return units;
}

}  // namespace

std::string selectInTextBox(HWND box, std::string_view text, const TextSpan& span) {
  CHARRANGE range{boxPosition(text, span.from), boxPosition(text, span.to)};
  SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
  SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  if (range.cpMax <= range.cpMin) return {};
  std::wstring selected(static_cast<std::size_t>(range.cpMax - range.cpMin) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(box, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selected.data()));
  selected.resize(static_cast<std::size_t>(
      std::clamp<LRESULT>(copied, 0, static_cast<LRESULT>(selected.size()) - 1)));
  return utf8(selected);
}

std::optional<std::string> chooseFile(HWND owner, const char* title,
                                      std::span<const FileFilter> filters,
                                      const std::string& folder, const std::string& fileName) {
  // "label\0patterns\0...\0\0"
  std::wstring filter;
  for (const FileFilter& entry : filters) {
    filter += wide(entry.label);
    filter += L'\0';
    filter += wide(entry.patterns);
    filter += L'\0';
  }
  filter += L'\0';
  std::vector<wchar_t> file(static_cast<std::size_t>(kMaxPathCharacters) + 1, L'\0');
  const std::wstring preset = wide(fileName);
  std::copy_n(preset.begin(), std::min(preset.size(), file.size() - 1), file.begin());
  const std::wstring initialFolder = wide(folder);
  const std::wstring caption = wide(title);
  OPENFILENAMEW chooser{};
  chooser.lStructSize = sizeof(chooser);
  chooser.hwndOwner = owner;
  chooser.lpstrFilter = filter.c_str();
  chooser.nFilterIndex = 1;
  chooser.lpstrFile = file.data();
  chooser.nMaxFile = static_cast<DWORD>(file.size());
  chooser.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  chooser.lpstrTitle = caption.c_str();
  // The current directory stays: the work files and reports are written there.
  chooser.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                  OFN_HIDEREADONLY | OFN_ENABLESIZING;
  if (!GetOpenFileNameW(&chooser)) return std::nullopt;
  return utf8(file.data());
}

void writeTrace(const std::wstring& path, std::string_view bytes) {
  if (path.empty()) return;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30)),
            &written, nullptr);
  CloseHandle(file);
}

int scaled(int pixels, UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

void Fonts::create(UINT dpi) {
  release();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi))
    text = CreateFontIndirectW(&metrics.lfMessageFont);
  LOGFONTW face{};
  face.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
  face.lfCharSet = DEFAULT_CHARSET;
  face.lfQuality = CLEARTYPE_QUALITY;
  face.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  wcscpy_s(face.lfFaceName, L"Consolas");
  fixed = CreateFontIndirectW(&face);
}

void Fonts::release() {
  if (text != nullptr) DeleteObject(text);
  if (fixed != nullptr) DeleteObject(fixed);
  text = nullptr;
  fixed = nullptr;
}

void Anchors::record(HWND dialog, std::span<const Rule> rules) {
  rules_.assign(rules.begin(), rules.end());
  recordAgain(dialog);
}

void Anchors::suspend(HWND dialog) {
  placed_.clear();
  PostMessageW(dialog, kRecordAnchors, 0, 0);
}

void Anchors::recordAgain(HWND dialog) {
  RECT client{};
  GetClientRect(dialog, &client);
  initial_ = {client.right, client.bottom};
  placed_.clear();
  for (const Rule& rule : rules_) {
    HWND control = GetDlgItem(dialog, rule.id);
    if (control == nullptr) continue;
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    placed_.push_back({rule, rect});
  }
}

void Anchors::apply(HWND dialog) const {
  if (placed_.empty()) return;
  RECT client{};
  GetClientRect(dialog, &client);
  const auto dx = static_cast<float>(client.right - initial_.cx);
  const auto dy = static_cast<float>(client.bottom - initial_.cy);
  const auto moved = [](LONG edge, float share, float change) {
    return static_cast<int>(edge + std::lround(share * change));
  };
  HDWP positions = BeginDeferWindowPos(static_cast<int>(placed_.size()));
  for (const Placed& placed : placed_) {
    const int left = moved(placed.rect.left, placed.rule.left, dx);
    const int top = moved(placed.rect.top, placed.rule.top, dy);
    const int right = moved(placed.rect.right, placed.rule.right, dx);
    const int bottom = moved(placed.rect.bottom, placed.rule.bottom, dy);
    if (positions != nullptr)
      positions = DeferWindowPos(positions, GetDlgItem(dialog, placed.rule.id), nullptr, left, top,
                                 std::max(right - left, 0), std::max(bottom - top, 0),
                                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (positions != nullptr) EndDeferWindowPos(positions);
  InvalidateRect(dialog, nullptr, TRUE);
}

HWND Dialog::create(const wchar_t* resource, HWND owner) {
  return CreateDialogParamW(GetModuleHandleW(nullptr), resource, owner, procedure,
                            reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->dialog_ = dialog;
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    self->init();
    return TRUE;
  }
  if (self == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
        if (LOWORD(wParam) == IDCANCEL) {
          self->close();
        } else {
          self->command(LOWORD(wParam));
        }
      }
      return TRUE;
    case WM_NOTIFY:
      self->notify(*reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case WM_SIZE:
      self->anchors_.apply(dialog);
      return TRUE;
    case kRecordAnchors:
      self->anchors_.recordAgain(dialog);
      return TRUE;
    case WM_DPICHANGED:
      self->anchors_.suspend(dialog);
      self->dpiChanged(HIWORD(wParam));
      return FALSE;
    case WM_CLOSE:
      self->close();
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(dialog, DWLP_USER, 0);
      delete self;
      return FALSE;
    default:
      return FALSE;
  }
}

void prepareList(HWND list, std::span<const ListColumn> columns, UINT dpi) {
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = columns[i].format;
    column.cx = scaled(columns[i].width, dpi);
    column.pszText = const_cast<wchar_t*>(columns[i].title);
    ListView_InsertColumn(list, static_cast<int>(i), &column);
  }
}

void addListRow(HWND list, std::span<std::wstring> cells) {
  if (cells.empty()) return;
  LVITEMW entry{};
  entry.mask = LVIF_TEXT;
  entry.iItem = ListView_GetItemCount(list);
  entry.pszText = cells[0].data();
  const int at = ListView_InsertItem(list, &entry);
  if (at < 0) return;
  for (std::size_t column = 1; column < cells.size(); ++column)
    ListView_SetItemText(list, at, static_cast<int>(column), cells[column].data());
}

// Right of the main window when it fits on its monitor, else below it, else
// where it is.
void placeBeside(HWND main, HWND dialog) {
  RECT frame{};
  RECT box{};
  GetWindowRect(main, &frame);
  GetWindowRect(dialog, &box);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& screen = monitor.rcWork;
  const int gap = scaled(8, GetDpiForWindow(main));
  const LONG width = box.right - box.left;
  const LONG height = box.bottom - box.top;
  if (frame.right + gap + width <= screen.right) {
    SetWindowPos(dialog, nullptr, frame.right + gap, frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (frame.bottom + gap + height <= screen.bottom) {
    SetWindowPos(dialog, nullptr, frame.left, frame.bottom + gap, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int showMessage(HWND fallbackOwner, const std::string& text, const std::string& title, UINT flags) {
  HWND owner = GetActiveWindow();
  if (owner == nullptr) owner = fallbackOwner;
  return MessageBoxW(owner, wide(text).c_str(), wide(title).c_str(), flags);
}

void Win32Platform::messageBox(const std::string& text, const std::string& title, BoxIcon icon) {
  showMessage(main, text, title, MB_OK | (icon == BoxIcon::Information ? MB_ICONINFORMATION : 0u));
}

void Win32Platform::redrawMainWindow() {
  if (main != nullptr) SendMessageW(main, kRefreshMessage, 0, 0);
}

}  // namespace lintaro::win32
