// TFrame_Software: the software page of the main window, drawn from the
// main window's model (its TSoftwarePage, selection and checks): the five
// category tabs with their counts, the batch switch, the view switch and
// the owner-data list. Every click is one model call; Sync() redraws from
// the getters. The analysis reaches the list through ISoftwareListView on
// the user-interface thread (posted by the dispatcher), one row at a time.
#pragma once

#include <array>
#include <functional>

#include "inventory/analysis_view.h"
#include "shell/main_window_model.h"  // before the Windows headers: it names WM_COPYDATA itself
#include "ui/control.h"
#include "ui/form_texts.h"
#include "ui/list_view.h"
#include "ui/tab_button.h"
#include "ui/window.h"

namespace orvix::ui {

// Control ids, for the automation program and the dialog keys.
inline constexpr int kSoftwareListId = 1001;
inline constexpr int kBatchCheckId = 1003;
inline constexpr int kViewSwitchId = 1004;
inline constexpr int kFirstTabId = 1011;

class SoftwarePageView : public Window, public ISoftwareListView, private IListRowSource {
 public:
  explicit SoftwarePageView(TMainWindowModel& model);
  bool Create(HWND parent);

  // Everything from the model again: tabs, counts, modes, header, rows.
  void Sync();
  void SetImages(HIMAGELIST images) { list_.SetImages(images); }
  ListView& List() { return list_; }
  // A right click or the menu key on the list, at that screen point.
  std::function<void(POINT)> onContextMenu;

  // From now on the analysis's reports change nothing (the window closes).
  void Detach() { detached_ = true; }

  // ISoftwareListView: the analysis found more about one entry.
  void UpdateRow(std::size_t position, std::int32_t imageIndex, const std::wstring& sizeText,
                 const std::wstring& dateText) override;

 protected:
  void OnCreate() override;
  void OnSize(int width, int height) override;
  void OnDpiChanged() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int RowCount() const override;
  std::wstring CellText(int row, int column) const override;
  int RowImage(int row) const override;
  bool RowChecked(int row) const override;

  void SyncTabs();
  void SyncSelection();

  TMainWindowModel& model_;
  FormTexts texts_;
  std::array<TabButton, 5> tabs_;
  CheckBox batch_;
  Button view_;
  ListView list_;
  bool syncing_ = false;
  bool detached_ = false;
  bool countsPending_ = false;
  int shownViewMode_ = -1;
  int shownBatch_ = -1;
};

}  // namespace orvix::ui
