// The window wrappers of src/ui against Wine's real controls: messages
// sent to a control reach the wrapper's event (a table of "message sent,
// event expected"), the owner-data list and the tree ask their sources,
// a window closed from its own handler is deleted by the loop afterwards,
// exceptions stop in the window procedure, BusyScope, the anchors, and the
// form texts from the language.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "language/language.h"
#include "native/named_case.h"
#include "windows/test_files.h"
#include "ui/control.h"
#include "ui/form_texts.h"
#include "ui/layout.h"
#include "ui/list_view.h"
#include "ui/tree_view.h"
#include "ui/ui_pump.h"
#include "ui/window.h"

namespace orvix::ui {
namespace {

class Rows : public IListRowSource {
 public:
  int RowCount() const override { return 3; }
  std::wstring CellText(int row, int column) const override {
    return column == 0 ? L"Program " + std::to_wstring(row) + L"\r\rMaker" : L"cell " + std::to_wstring(column);
  }
  bool RowChecked(int row) const override { return row == 1; }
};

class Nodes : public ITreeSource {
 public:
  std::vector<TreeNodeId> Children(TreeNodeId parent) const override {
    if (parent == 0) return {1, 2};
    if (parent == 1) return {11, 12};
    return {};
  }
  std::wstring NodeText(TreeNodeId node) const override { return L"node " + std::to_wstring(node); }
  int NodeCheckState(TreeNodeId node) const override { return node == 1 ? 3 : 2; }
};

// Every event a wrapper raised, in order.
struct Recorder {
  std::vector<std::wstring> events;
  void operator()(const std::wstring& event) { events.push_back(event); }
};

class TestWindow : public Window {
 public:
  explicit TestWindow(bool* deleted = nullptr) : deleted_(deleted) {}
  ~TestWindow() override {
    if (deleted_ != nullptr) *deleted_ = true;
  }
  bool Create() {
    WindowArgs args;
    args.className = L"OrvixUiTestWindow";
    args.title = L"wrappers";
    return Window::Create(args);
  }

  Button button;
  CheckBox check;
  Edit edit;
  ListView list;
  TreeView tree;
  Rows rows;
  Nodes nodes;
  Recorder record;

 protected:
  void OnCreate() override {
    button.Create(Handle(), {L"Go"});
    check.Create(Handle(), {L"Batch"});
    edit.Create(Handle(), {});
    list.Create(Handle(), {{{L"Name", 200}, {L"Size", 80}}}, rows);
    tree.Create(Handle(), nodes);
    // BM_CLICK clicks the button's middle: it needs a size.
    button.SetBounds({10, 10, 90, 40});
    check.SetBounds({100, 10, 200, 40});
    button.onClick = [this] { record(L"click"); };
    check.onToggle = [this] { record(L"toggle"); };
    edit.onChanged = [this] { record(L"changed:" + edit.Text()); };
    list.onHeaderClick = [this](int column) { record(L"header:" + std::to_wstring(column)); };
    list.onActivate = [this](int row) { record(L"activate:" + std::to_wstring(row)); };
    list.onCheckToggle = [this](int row) { record(L"check:" + std::to_wstring(row)); };
    tree.onMouseDown = [this](TreeNodeId node, bool onState) {
      record(L"node:" + std::to_wstring(node) + (onState ? L":state" : L""));
    };
  }

 private:
  bool* deleted_;
};

// Sends a list or tree notification to the control's parent, as the control would.
template <typename Notification>
void Notify(HWND control, Notification& data, UINT code) {
  data.hdr.hwndFrom = control;
  data.hdr.idFrom = 0;
  data.hdr.code = code;
  ::SendMessageW(::GetParent(control), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&data));
}

class UiWrappersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Window::SetFailureReporter([this](HWND, const std::wstring& what) { failures_.push_back(what); });
    window_ = new TestWindow(&deleted_);
    ASSERT_TRUE(window_->Create());
  }
  void TearDown() override {
    if (!deleted_) {
      ::DestroyWindow(window_->Handle());
      MessageLoop::RunPending();
    }
    EXPECT_TRUE(deleted_) << "the loop deletes a destroyed window";
    Window::SetFailureReporter({});
  }

  TestWindow* window_ = nullptr;
  bool deleted_ = false;
  std::vector<std::wstring> failures_;
};

struct MessageCase : testing::NamedCase {
  std::function<void(TestWindow&)> send;
  std::vector<std::wstring> expected;
};

class UiMessagesTest : public UiWrappersTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(UiMessagesTest, ReachTheWrappersEvent) {
  GetParam().send(*window_);
  EXPECT_EQ(window_->record.events, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UiMessagesTest,
    ::testing::Values(
        MessageCase{{"ButtonClick"}, [](TestWindow& w) { ::SendMessageW(w.button.Handle(), BM_CLICK, 0, 0); },
                    {L"click"}},
        MessageCase{{"CheckBoxClickLeavesTheCheckToTheModel"},
                    [](TestWindow& w) {
                      ::SendMessageW(w.check.Handle(), BM_CLICK, 0, 0);
                      if (w.check.Checked()) w.record(L"checked by the control");
                    },
                    {L"toggle"}},
        MessageCase{{"EditTypedButNotSetQuietly"},
                    [](TestWindow& w) {
                      ::SendMessageW(w.edit.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
                      w.edit.SetTextQuietly(L"set by the view");
                    },
                    {L"changed:abc"}},
        MessageCase{{"ListHeaderClick"},
                    [](TestWindow& w) {
                      NMLISTVIEW click = {};
                      click.iItem = -1;
                      click.iSubItem = 1;
                      Notify(w.list.Handle(), click, LVN_COLUMNCLICK);
                    },
                    {L"header:1"}},
        MessageCase{{"ListActivateAndSpaceOnACheckedList"},
                    [](TestWindow& w) {
                      w.list.SetRowCount(3);
                      w.list.SetCheckBoxes(true);
                      w.list.SelectRow(2);
                      NMITEMACTIVATE activate = {};
                      activate.iItem = 2;
                      Notify(w.list.Handle(), activate, LVN_ITEMACTIVATE);
                      NMLVKEYDOWN key = {};
                      key.wVKey = VK_SPACE;
                      Notify(w.list.Handle(), key, LVN_KEYDOWN);
                    },
                    {L"activate:2", L"check:2"}},
        MessageCase{{"TreeSpaceIsAClickOnTheStateIcon"},
                    [](TestWindow& w) {
                      w.tree.Rebuild();
                      ::SendMessageW(w.tree.Handle(), TVM_SELECTITEM, TVGN_CARET,
                                     reinterpret_cast<LPARAM>(TreeView_GetRoot(w.tree.Handle())));
                      NMTVKEYDOWN key = {};
                      key.wVKey = VK_SPACE;
                      Notify(w.tree.Handle(), key, TVN_KEYDOWN);
                    },
                    {L"node:1:state"}}),
    testing::CaseName());

TEST_F(UiWrappersTest, OwnerDataListAsksItsSourceForEveryCellAndCheck) {
  window_->list.SetRowCount(3);
  EXPECT_EQ(ListView_GetItemCount(window_->list.Handle()), 3);
  wchar_t text[64] = {};
  ListView_GetItemText(window_->list.Handle(), 1, 0, text, 64);
  EXPECT_STREQ(text, L"Program 1, Maker") << "the two lines read as one";
  ListView_GetItemText(window_->list.Handle(), 2, 1, text, 64);
  EXPECT_STREQ(text, L"cell 1");
  window_->list.SetCheckBoxes(true);
  EXPECT_EQ(ListView_GetItemState(window_->list.Handle(), 1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  EXPECT_EQ(ListView_GetItemState(window_->list.Handle(), 0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
}

TEST_F(UiWrappersTest, TreeCopiesTextsAndShowsTheThreeCheckStates) {
  window_->tree.Rebuild();
  EXPECT_EQ(window_->tree.Texts(),
            (std::vector<std::wstring>{L"node 1", L"node 11", L"node 12", L"node 2"}));
  HTREEITEM root = TreeView_GetRoot(window_->tree.Handle());
  EXPECT_EQ(TreeView_GetItemState(window_->tree.Handle(), root, TVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(3));
  EXPECT_EQ(TreeView_GetItemState(window_->tree.Handle(), TreeView_GetChild(window_->tree.Handle(), root),
                                  TVIS_STATEIMAGEMASK),
            INDEXTOSTATEIMAGEMASK(2));
}

TEST_F(UiWrappersTest, CloseFromItsOwnHandlerDeletesTheWindowOnlyAfterTheHandler) {
  window_->button.onClick = [this] {
    window_->Close();
    MessageLoop::RunPending();  // a pumped wait inside the handler
    window_->record(L"still here");
  };
  ::SendMessageW(window_->button.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(deleted_);
  EXPECT_EQ(::IsWindow(window_->button.Handle()), FALSE) << "destroyed by the close the pump ran";
  MessageLoop::RunPending();
  EXPECT_TRUE(deleted_);
}

TEST_F(UiWrappersTest, AnExceptionStopsInTheWindowProcedureAndIsReportedOnce) {
  window_->button.onClick = [] { throw std::runtime_error("disk full"); };
  ::SendMessageW(window_->button.Handle(), BM_CLICK, 0, 0);
  ::SendMessageW(window_->check.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(failures_, std::vector<std::wstring>{L"disk full"});
  EXPECT_EQ(window_->record.events, std::vector<std::wstring>{L"toggle"}) << "the window goes on";
}

TEST_F(UiWrappersTest, BusyScopeDisablesAllButCancelAndPutsBackWhatWasEnabled) {
  window_->edit.SetEnabled(false);
  {
    BusyScope busy(window_->Handle(), window_->button.Handle());
    EXPECT_TRUE(BusyScope::IsBusy(window_->Handle()));
    EXPECT_TRUE(window_->button.Enabled());
    EXPECT_FALSE(window_->check.Enabled());
    EXPECT_FALSE(window_->list.Enabled());
  }
  EXPECT_FALSE(BusyScope::IsBusy(window_->Handle()));
  EXPECT_TRUE(window_->check.Enabled());
  EXPECT_TRUE(window_->list.Enabled());
  EXPECT_FALSE(window_->edit.Enabled()) << "disabled before, disabled after";
}

TEST_F(UiWrappersTest, UiPumpStopsOnCancelAndWhenTheProgramQuits) {
  UiPump pump;
  EXPECT_FALSE(pump.StopRequested());
  pump.RequestStop();
  EXPECT_TRUE(pump.StopRequested());
  pump.Reset();
  ::PostQuitMessage(3);
  pump.ProcessMessages();
  EXPECT_TRUE(pump.StopRequested());
  MSG quit = {};
  EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "left for the outer loop";
  EXPECT_EQ(quit.wParam, 3u);
}

struct AnchorCase : testing::NamedCase {
  unsigned anchors;
  UINT dpi;
  RECT expected;  // for a 400 x 300 design grown to 500 x 400 (96-DPI pixels)
};

class UiAnchorTest : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(UiAnchorTest, ControlsFollowTheEdgesTheyAreTiedTo) {
  const Layout layout(400, 300);
  const UINT dpi = GetParam().dpi;
  const RECT placed = layout.Place({10, 20, 110, 50}, GetParam().anchors, Scale(500, dpi), Scale(400, dpi), dpi);
  const RECT& expected = GetParam().expected;
  EXPECT_EQ(placed.left, Scale(expected.left, dpi));
  EXPECT_EQ(placed.top, Scale(expected.top, dpi));
  EXPECT_EQ(placed.right, Scale(expected.right, dpi));
  EXPECT_EQ(placed.bottom, Scale(expected.bottom, dpi));
}

INSTANTIATE_TEST_SUITE_P(Table, UiAnchorTest,
                         ::testing::Values(AnchorCase{{"TopLeftStays"}, kAnchorTopLeft, 96, {10, 20, 110, 50}},
                                           AnchorCase{{"RightMoves"}, kAnchorTopRight, 96, {110, 20, 210, 50}},
                                           AnchorCase{{"BothSidesStretch"}, kAnchorTopSides, 144, {10, 20, 210, 50}},
                                           AnchorCase{{"AllEdgesAt200Percent"}, kAnchorAll, 192, {10, 20, 210, 150}},
                                           AnchorCase{{"NoneKeepsToTheMiddle"}, 0, 96, {60, 70, 160, 100}}),
                         testing::CaseName());

TEST_F(UiWrappersTest, FormTextsComeFromTheTableThenTheLanguageAndFollowALanguageChange) {
  test::ScratchFolder folder;
  const auto put = [&](const wchar_t* name, const char* body) {
    ASSERT_TRUE(test::WriteTestFile(folder / name, std::string("\xEF\xBB\xBF") + body));
  };
  put(L"English.lng", "[Main]\r\nDisplayName=English\r\n");
  put(L"German.lng", "[Uninstaller_frmTest]\r\nbtnGo.Caption=Los\r\nlvList.Columns[1].Caption=Gr\xC3\xB6\xC3\x9F" "e\r\n");
  put(L"French.lng", "[Uninstaller_frmTest]\r\nlvList.Columns[0].Caption=Nom\r\n");
  TLanguage language(L"Uninstaller");
  language.SetLanguageFolder(folder.Path());

  TWindowTexts table{L"frmTest", {}};
  TComponentTexts go;
  go.name = L"btnGo";
  go.kind = ckButton;
  go.caption = L"Go";
  TComponentTexts list;
  list.name = L"lvList";
  list.kind = ckListView;
  list.columns = {L"Name", L"Size"};
  table.components = {go, list};

  FormTexts texts(table);
  texts.Bind(L"btnGo", window_->button);
  texts.Bind(L"lvList", window_->list);
  int applied = 0;
  texts.onApplied = [&] { ++applied; };
  texts.Apply();
  EXPECT_EQ(window_->button.Text(), L"Go") << "no language: the table's texts";

  SetFormLanguage(&language);
  ASSERT_TRUE(language.SelectLanguage(L"German"));
  FormTexts::ApplyAll();
  EXPECT_EQ(window_->button.Text(), L"Los");
  EXPECT_EQ(texts.Columns(L"lvList"), (std::vector<std::wstring>{L"Name", L"Gr\u00F6\u00DFe"}));
  wchar_t title[32] = {};
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT;
  column.pszText = title;
  column.cchTextMax = 32;
  ListView_GetColumn(window_->list.Handle(), 1, &column);
  EXPECT_STREQ(title, L"Gr\u00F6\u00DFe");

  ASSERT_TRUE(language.SelectLanguage(L"French"));
  FormTexts::ApplyAll();
  EXPECT_EQ(window_->button.Text(), L"Go") << "a key the new language lacks: English, not the old language";
  EXPECT_EQ(texts.Columns(L"lvList")[0], L"Nom");
  EXPECT_EQ(applied, 3);
  SetFormLanguage(nullptr);
}

}  // namespace
}  // namespace orvix::ui
