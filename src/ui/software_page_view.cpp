#include "ui/software_page_view.h"

#include <string>

#include "inventory/software_info.h"
#include "language/forms/forms.h"
#include "language/messages.h"
#include "shell/main_window_model.h"

namespace orvix::ui {
namespace {

// The tab captions' components, in the tabs' order (kSoftwareTabs).
constexpr const wchar_t* kTabNames[] = {L"Label_AllPrograms", L"Label_RecentlyInstalled", L"Label_LargePrograms",
                                        L"Label_InfrequentlyUsed", L"Label_WindowsUpdates"};
constexpr UINT_PTR kCountsTimer = 1;
constexpr UINT kCountsDelayMs = 300;

const TSoftList& NoItems() {
  static const TSoftList items;
  return items;
}

}  // namespace

SoftwarePageView::SoftwarePageView(TMainWindowModel& model) : model_(model), texts_(SoftwareFrameForm()) {
  KeepAfterDestroy();
}

bool SoftwarePageView::Create(HWND parent) {
  WindowArgs args;
  args.className = L"TFrame_Software";
  args.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
  args.exStyle = WS_EX_CONTROLPARENT;  // Tab moves into the page's controls
  args.owner = parent;
  args.width = 870;
  args.height = 460;
  return Window::Create(args);
}

void SoftwarePageView::OnCreate() {
  HWND self = Handle();
  for (std::size_t i = 0; i < tabs_.size(); ++i) {
    tabs_[i].Create(self, L"");
    tabs_[i].SetId(kFirstTabId + static_cast<int>(i));
    tabs_[i].onClick = [this, i] {
      model_.SelectCategory(static_cast<int>(i));
      list_.Focus();
    };
  }
  batch_.Create(self, {});
  batch_.SetId(kBatchCheckId);
  batch_.onToggle = [this] {
    model_.SetBatchMode(!model_.SoftwarePage().BatchMode());
    Sync();
  };
  view_.Create(self, {});
  view_.SetId(kViewSwitchId);
  view_.onClick = [this] {
    model_.SetViewMode(model_.SoftwarePage().ViewMode() == lvmDetails ? lvmIcons : lvmDetails);
    Sync();
  };

  ListViewArgs listArgs;
  listArgs.columns = {{L"", 420}, {L"", 110, false, true}, {L"", 100, true}, {L"", 110}};
  listArgs.ownerDraw = true;
  listArgs.rowHeight = 44;
  list_.Create(self, listArgs, *this);
  list_.SetId(kSoftwareListId);
  list_.onHeaderClick = [this](int column) {
    model_.ClickHeader(column);
    Sync();
  };
  list_.onSelectionChanged = [this] {
    if (syncing_) return;
    const std::optional<int> row = list_.SelectedRow();
    model_.SelectRow(row ? std::optional<std::size_t>(static_cast<std::size_t>(*row)) : std::nullopt);
  };
  list_.onCheckToggle = [this](int row) {
    const auto position = static_cast<std::size_t>(row);
    model_.CheckRow(position, !model_.RowChecked(position));
    list_.RedrawRow(row);
  };
  list_.onButtonClick = [this](int row, int /*column*/) { model_.UninstallRow(static_cast<std::size_t>(row)); };
  list_.onActivate = [this](int row) {
    model_.SelectRow(static_cast<std::size_t>(row));
    model_.UninstallOnDoubleClick();
  };

  for (std::size_t i = 0; i < tabs_.size(); ++i) texts_.Bind(kTabNames[i], tabs_[i]);
  texts_.Bind(L"CheckBox_BatchUninstall", batch_);
  texts_.Bind(L"ListView_Software", list_);
  texts_.onApplied = [this] { Sync(); };
  texts_.Apply();
}

void SoftwarePageView::OnSize(int width, int height) {
  const int margin = Scale(16);
  const int tabTop = Scale(6);
  const int tabHeight = Scale(34);
  const int viewWidth = Scale(80);
  const int right = width - margin;
  view_.SetBounds({right - viewWidth, tabTop + Scale(4), right, tabTop + tabHeight - Scale(2)});
  HDC dc = ::GetDC(batch_.Handle());
  HGDIOBJ old = ::SelectObject(dc, UiFont(Dpi()));
  const std::wstring batchText = batch_.Text();
  SIZE extent = {};
  ::GetTextExtentPoint32W(dc, batchText.c_str(), static_cast<int>(batchText.size()), &extent);
  ::SelectObject(dc, old);
  ::ReleaseDC(batch_.Handle(), dc);
  const int batchWidth = extent.cx + Scale(28);
  const int batchLeft = right - viewWidth - Scale(12) - batchWidth;
  batch_.SetBounds({batchLeft, tabTop + Scale(4), batchLeft + batchWidth, tabTop + tabHeight - Scale(2)});

  // The tabs as wide as their captions; when they would reach the batch
  // switch, all five share the room left (their captions end in "...").
  const int gap = Scale(2);
  const int first = margin - Scale(10);
  const int room = batchLeft - Scale(8) - first;
  int needed = 0;
  for (const TabButton& tab : tabs_) needed += tab.TextWidth() + gap;
  const int shared = room / static_cast<int>(tabs_.size()) - gap;
  int x = first;
  for (TabButton& tab : tabs_) {
    const int tabWidth = needed > room ? shared : tab.TextWidth();
    tab.SetBounds({x, tabTop, x + tabWidth, tabTop + tabHeight});
    x += tabWidth + gap;
  }

  const int listTop = tabTop + tabHeight + Scale(6);
  list_.SetBounds({0, listTop, width, height});
  list_.FillWidthWithColumn(colSoftwareName);
}

void SoftwarePageView::OnDpiChanged() {
  for (TabButton& tab : tabs_) tab.SetFont(UiFont(Dpi()));
  batch_.SetFont(UiFont(Dpi()));
  view_.SetFont(UiFont(Dpi()));
  list_.SetFont(UiFont(Dpi()));
  list_.SetDpi(Dpi());
}

LRESULT SoftwarePageView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == list_.Handle()) {
    if (onContextMenu) onContextMenu(list_.ContextMenuPoint(lParam));
    return 0;
  }
  if (message == WM_TIMER && wParam == kCountsTimer) {
    ::KillTimer(Handle(), kCountsTimer);
    countsPending_ = false;
    SyncTabs();
    return 0;
  }
  return Default(message, wParam, lParam);
}

void SoftwarePageView::Sync() {
  if (Handle() == nullptr) return;
  syncing_ = true;
  const TSoftwarePage& page = model_.SoftwarePage();
  SyncTabs();
  const bool batch = page.BatchMode();
  if (shownBatch_ != static_cast<int>(batch)) {
    shownBatch_ = batch;
    batch_.SetChecked(batch);
    list_.SetCheckBoxes(batch);
  }
  if (shownViewMode_ != page.ViewMode()) {
    shownViewMode_ = page.ViewMode();
    list_.SetIconView(page.ViewMode() == lvmIcons);
  }
  view_.SetText(Text(page.ViewMode() == lvmDetails ? msg::ListView_Icon_Hint : msg::ListView_List_Hint));
  view_.SetAccessibleName(Text(msg::ListView_View_Hint));
  list_.SetButtonCaption(texts_.Caption(L"Button_RowUninstall"));
  list_.SetColumnTitle(colSoftwareName, page.HeaderText());
  const TListSort& sort = page.Sort();
  list_.SetSortArrow(sort.column, sort.order == soAscending    ? SortArrow::Up
                                  : sort.order == soDescending ? SortArrow::Down
                                                               : SortArrow::None);
  list_.SetRowCount(static_cast<int>(page.Rows().size()));
  SyncSelection();
  syncing_ = false;
}

void SoftwarePageView::SyncTabs() {
  const TSoftList& items = model_.Inventory() != nullptr ? model_.Inventory()->Items() : NoItems();
  const int current = model_.SoftwarePage().CurrentTab();
  for (std::size_t i = 0; i < tabs_.size(); ++i) {
    const std::size_t count = CategoryCount(items, kSoftwareTabs[i].category);
    tabs_[i].SetText(texts_.Caption(kTabNames[i]) + L" (" + std::to_wstring(count) + L")");
    tabs_[i].SetCurrent(static_cast<int>(i) == current);
  }
  RECT client = {};
  ::GetClientRect(Handle(), &client);
  OnSize(client.right, client.bottom);
}

void SoftwarePageView::SyncSelection() {
  const std::optional<std::size_t> selected = model_.SelectedRow();
  if (selected && *selected < model_.SoftwarePage().Rows().size()) {
    list_.SelectRow(static_cast<int>(*selected));
  } else {
    list_.ClearSelection();
  }
}

void SoftwarePageView::UpdateRow(std::size_t position, std::int32_t /*imageIndex*/, const std::wstring& /*sizeText*/,
                                 const std::wstring& /*dateText*/) {
  if (detached_) return;
  // The entry holds what the analysis found; the page copies it into its row.
  if (const std::optional<std::size_t> row = model_.SoftwarePage().UpdateEntry(position)) {
    list_.RedrawRow(static_cast<int>(*row));
  }
  if (!countsPending_ && Handle() != nullptr) {
    countsPending_ = true;
    ::SetTimer(Handle(), kCountsTimer, kCountsDelayMs, nullptr);
  }
}

int SoftwarePageView::RowCount() const { return static_cast<int>(model_.SoftwarePage().Rows().size()); }

std::wstring SoftwarePageView::CellText(int row, int column) const {
  const std::vector<TListRow>& rows = model_.SoftwarePage().Rows();
  if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return {};
  const TListRow& listRow = rows[static_cast<std::size_t>(row)];
  switch (column) {
    case colSoftwareName:
      return listRow.caption;
    case colSize:
      return listRow.sizeText;
    case colInstallDate:
      return listRow.dateText;
    default:
      return {};
  }
}

int SoftwarePageView::RowImage(int row) const {
  const std::vector<TListRow>& rows = model_.SoftwarePage().Rows();
  if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return -1;
  return rows[static_cast<std::size_t>(row)].imageIndex;
}

bool SoftwarePageView::RowChecked(int row) const { return row >= 0 && model_.RowChecked(static_cast<std::size_t>(row)); }

}  // namespace orvix::ui
