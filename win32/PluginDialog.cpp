// The "Débuguer un plugin" dialog: the plugin's masters and expansions, its
// scripts in a sortable list, the selected script's report and a button that
// saves the combined report in the working folder. One dialog per plugin
// opened; closing it destroys it.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <array>

#include "Resource.h"
#include "Window.h"
#include "shell/Platform.h"
#include "shell/PluginView.h"

namespace lintaro::win32 {

namespace {

constexpr const char* kTitle = "Débuguer un plugin";

constexpr std::array<ListColumn, 4> kColumns = {{{L"Nom", 380, LVCFMT_LEFT},
                                                 {L"Type", 90, LVCFMT_LEFT},
                                                 {L"Erreurs", 80, LVCFMT_RIGHT},
                                                 {L"Alertes", 80, LVCFMT_RIGHT}}};

class PluginDialog : public Dialog {
 public:
  PluginDialog(PluginView view, std::wstring trace)
      : view_(std::move(view)), trace_(std::move(trace)) {}

 private:
  void close() override { DestroyWindow(dialog_); }
  void command(int id) override {
    if (id == IDC_PLUGIN_SAVE) save();
    if (id == IDC_PLUGIN_CLOSE) close();
  }
  // The report's font is the dialog's own.
  void dpiChanged(UINT dpi) override {
    fonts_.create(dpi);
    SendMessageW(item(IDC_PLUGIN_REPORT), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.fixed), TRUE);
  }

  void init() override {
    setWindowText(dialog_, std::string(kTitle) + " : " + view_.fileName);
    fitHead(pluginHeadText(view_));
    const UINT dpi = GetDpiForWindow(dialog_);
    fonts_.create(dpi);
    HWND list = item(IDC_PLUGIN_LIST);
    prepareList(list, kColumns, dpi);
    prepareTextBox(item(IDC_PLUGIN_REPORT), fonts_.fixed, kMaxScriptBytes);
    static constexpr std::array<Anchors::Rule, 5> kRules = {{
        {IDC_PLUGIN_HEAD, 0, 0, 1, 0},
        {IDC_PLUGIN_LIST, 0, 0, 1, 0.5f},
        {IDC_PLUGIN_REPORT, 0, 0.5f, 1, 1},
        {IDC_PLUGIN_SAVE, 1, 1, 1, 1},
        {IDC_PLUGIN_CLOSE, 1, 1, 1, 1},
    }};
    anchors_.record(dialog_, kRules);
    fill();
    if (!view_.rows.empty()) {
      ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    trace();
  }

  // The head is as tall as its lines: what stands below it moves down and
  // the dialog grows by as much.
  void fitHead(const std::string& text) {
    HWND head = item(IDC_PLUGIN_HEAD);
    setWindowText(head, text);
    RECT place{};
    GetWindowRect(head, &place);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&place), 2);
    RECT needed{0, 0, place.right - place.left, 0};
    HDC dc = GetDC(head);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog_, WM_GETFONT, 0, 0)));
    std::wstring shown = wide(text);
    DrawTextW(dc, shown.data(), static_cast<int>(shown.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(head, dc);
    const LONG grow = needed.bottom - (place.bottom - place.top);
    if (grow <= 0) return;
    SetWindowPos(head, nullptr, 0, 0, place.right - place.left, needed.bottom,
                 SWP_NOMOVE | SWP_NOZORDER);
    for (const int id : {IDC_PLUGIN_LIST, IDC_PLUGIN_REPORT, IDC_PLUGIN_SAVE, IDC_PLUGIN_CLOSE}) {
      RECT rect{};
      GetWindowRect(item(id), &rect);
      MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
      SetWindowPos(item(id), nullptr, rect.left, rect.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT frame{};
    GetWindowRect(dialog_, &frame);
    SetWindowPos(dialog_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER);
  }

  void fill() {
    HWND list = item(IDC_PLUGIN_LIST);
    filling_ = true;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (const PluginRow& row : view_.rows) {
      std::array<std::wstring, kColumns.size()> cells = {
          wide(row.label), wide(pluginKindLabel(row)), wide(pluginCountText(row, row.errors)),
          wide(pluginCountText(row, row.alerts))};
      addListRow(list, cells);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    filling_ = false;
    // The arrow in the sorted column's header.
    HWND header = ListView_GetHeader(list);
    for (int column = 0; column < static_cast<int>(kColumns.size()); ++column) {
      HDITEMW entry{};
      entry.mask = HDI_FORMAT;
      Header_GetItem(header, column, &entry);
      entry.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
      if (column == static_cast<int>(view_.sortColumn))
        entry.fmt |= view_.ascending ? HDF_SORTUP : HDF_SORTDOWN;
      Header_SetItem(header, column, &entry);
    }
  }

  void notify(const NMHDR& header) override {
    if (header.idFrom != IDC_PLUGIN_LIST) return;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (header.code == LVN_COLUMNCLICK) {
      if (change.iSubItem < 0 || change.iSubItem >= static_cast<int>(kColumns.size())) return;
      clickPluginColumn(view_, static_cast<PluginColumn>(change.iSubItem));
      selected_.reset();
      fill();
      setTextBoxText(item(IDC_PLUGIN_REPORT), "");
      trace();
    } else if (header.code == LVN_ITEMCHANGED && !filling_ &&
               (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0) {
      if (change.iItem < 0 || static_cast<std::size_t>(change.iItem) >= view_.rows.size()) return;
      selected_ = static_cast<std::size_t>(change.iItem);
      setTextBoxText(item(IDC_PLUGIN_REPORT), view_.rows[*selected_].report);
      trace();
    }
  }

  void save() {
    const PluginSaveOutcome outcome = saveCombinedReport(view_, currentDirectory());
    showMessage(dialog_, outcome.message, outcome.saved ? kTitle : "Erreur",
                outcome.saved ? MB_OK | MB_ICONINFORMATION : MB_OK | MB_ICONERROR);
  }

  // Test hook: the rows in their order, then the selected report.
  void trace() const {
    if (!trace_.empty()) writeTrace(trace_ + L".plugin", pluginTraceText(view_, selected_));
  }

  PluginView view_;
  std::wstring trace_;
  Fonts fonts_;
  std::optional<std::size_t> selected_;
  bool filling_ = false;
};

}  // namespace

void openPluginDialog(HWND main, Shell& shell, const std::string& path, const std::wstring& trace) {
  const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  PluginView view = loadPluginView(path, pluginCheckOptions(shell.settings()));
  SetCursor(previous);
  if (!view.loaded) {
    showMessage(main, view.error, kTitle, MB_OK | MB_ICONERROR);
    return;
  }
  HWND created = (new PluginDialog(std::move(view), trace))->create(L"DIALOGPLUGIN", main);
  if (created == nullptr) return;
  placeBeside(main, created);
  ShowWindow(created, SW_SHOWNORMAL);
  SetForegroundWindow(created);
}

void choosePlugin(HWND main, Shell& shell, const std::wstring& trace) {
  const std::optional<std::string> path =
      chooseFile(main, "Choisir un plugin", kPluginFileFilters, shell.browseFolder(), "");
  if (!path) return;
  shell.fileChosen(*path);
  openPluginDialog(main, shell, *path, trace);
}

}  // namespace lintaro::win32
