// The main window over its model under Wine: each control or command, sent
// the message a user (or the automation program) sends, makes its one model
// call, and the software list then shows what the model lists.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "native/named_case.h"
#include "platform/settings.h"
#include "ui/main_window.h"
#include "ui/software_page_view.h"
#include "ui/window.h"

namespace orvix::ui {
namespace {

HWND Control(HWND window, int id) {
  // The page's controls are the frame's children, the header's the window's.
  HWND found = ::GetDlgItem(window, id);
  if (found != nullptr) return found;
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if ((found = ::GetDlgItem(child, id)) != nullptr) return found;
  }
  return nullptr;
}

struct CommandCase : testing::NamedCase {
  std::function<void(HWND window)> send;
  std::function<bool(TMainWindowModel& model, HWND list)> holds;
};

// One window for the table, as the program has one: the cases run in
// order, each from where the one before left the window.
class MainWindowTest : public ::testing::TestWithParam<CommandCase> {
 protected:
  static void SetUpTestSuite() {
    // The modes persist in Main.ini: the window starts from their defaults.
    ::DeleteFileW((DataFolder() + L"Main.ini").c_str());
    window_ = new MainWindow({});
    ASSERT_TRUE(window_->Create());
    window_->ShowAtBounds(SW_SHOWNOACTIVATE);
    // The software timer's work, as the first activation starts it.
    ::SendMessageW(window_->Handle(), WM_TIMER, 1, 0);
    MessageLoop::RunPending();
  }
  static void TearDownTestSuite() {
    ::DestroyWindow(window_->Handle());
    MessageLoop::RunPending();
    MSG quit = {};
    ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the window's own quit
  }
  void SetUp() override { ASSERT_TRUE(window_->Model().ListReady()); }

  static inline MainWindow* window_ = nullptr;
};

TEST_P(MainWindowTest, MakesItsModelCall) {
  GetParam().send(window_->Handle());
  MessageLoop::RunPending();
  HWND list = Control(window_->Handle(), kSoftwareListId);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(GetParam().holds(window_->Model(), list));
}

INSTANTIATE_TEST_SUITE_P(
    Table, MainWindowTest,
    ::testing::Values(
        CommandCase{{"ListShowsTheModelsRowsAndTotal"},
                    [](HWND) {},
                    [](TMainWindowModel& model, HWND list) {
                      wchar_t header[128] = {};
                      LVCOLUMNW column = {};
                      column.mask = LVCF_TEXT;
                      column.pszText = header;
                      column.cchTextMax = 128;
                      ListView_GetColumn(list, 0, &column);
                      return ListView_GetItemCount(list) == static_cast<int>(model.SoftwarePage().Rows().size()) &&
                             model.SoftwarePage().HeaderText() == header && model.SoftwarePage().CurrentTab() == 0;
                    }},
        CommandCase{{"TabButtonSelectsItsCategory"},
                    [](HWND window) { ::SendMessageW(Control(window, kFirstTabId + 2), BM_CLICK, 0, 0); },
                    [](TMainWindowModel& model, HWND) {
                      return model.SoftwarePage().CurrentTab() == 2 &&
                             model.SoftwarePage().Category() == scLargePrograms;
                    }},
        CommandCase{{"BatchCheckBoxShowsTheListsCheckBoxes"},
                    [](HWND window) { ::SendMessageW(Control(window, kBatchCheckId), BM_CLICK, 0, 0); },
                    [](TMainWindowModel& model, HWND list) {
                      return model.SoftwarePage().BatchMode() &&
                             (ListView_GetExtendedListViewStyle(list) & LVS_EX_CHECKBOXES) != 0;
                    }},
        CommandCase{{"TypingFiltersTheList"},
                    [](HWND window) {
                      ::SendMessageW(Control(window, 1002), WM_SETTEXT, 0,
                                     reinterpret_cast<LPARAM>(L"no program is called this"));
                    },
                    [](TMainWindowModel& model, HWND list) {
                      return model.SoftwarePage().Filter() == L"no program is called this" &&
                             ListView_GetItemCount(list) == 0 && model.ClearButtonVisible();
                    }},
        CommandCase{{"IconViewCommand"},
                    [](HWND window) { ::SendMessageW(window, WM_COMMAND, kCmdIconView, 0); },
                    [](TMainWindowModel& model, HWND list) {
                      return model.SoftwarePage().ViewMode() == lvmIcons &&
                             (::GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_ICON;
                    }},
        CommandCase{{"AddonPageButtonShowsTheEmptyPage"},
                    [](HWND window) { ::SendMessageW(Control(window, 1022), BM_CLICK, 0, 0); },
                    [](TMainWindowModel& model, HWND list) {
                      return model.Page() == mpAddons && !::IsWindowVisible(list);
                    }}),
    testing::CaseName());

}  // namespace
}  // namespace orvix::ui
