// The review tree's source: the tree view asks it for children, texts and
// check states by id, and an id is a position, so a node that Delete's
// second pass freed is answered as gone rather than read through a stale
// pointer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uninstall/result_tree.h"
#include "uninstall/tree_checks.h"
#include "ui/leftover_tree_source.h"

namespace orvix::ui {
namespace {

TSoftInfo Program(const std::wstring& name) {
  TSoftInfo entry;
  entry.DisplayName = name;
  return entry;
}

class LeftoverTreeSourceTest : public ::testing::Test {
 protected:
  LeftoverTreeSourceTest() {
    AddProgramBranch(tree_, Program(L"Foo"), {{HKEY_CURRENT_USER, L"Software\\Foo", L"", L"", false}},
                     {{L"C:\\Foo\\", 0, sfkFolder, 0}, {L"C:\\Foo\\foo.ini", 3, sfkFile, 0}}, nullptr);
    AddProgramBranch(tree_, Program(L"Bar"), {}, {{L"C:\\Bar\\bar.dat", 5, sfkFile, 0}}, nullptr);
  }

  std::vector<std::wstring> Texts(TreeNodeId parent) const {
    std::vector<std::wstring> texts;
    for (const TreeNodeId id : source_.Children(parent)) texts.push_back(source_.NodeText(id));
    return texts;
  }

  TLeftoverTree tree_;
  LeftoverTreeSource source_{tree_};
};

TEST_F(LeftoverTreeSourceTest, AnswersTheTreeByPositionAndOpensTheLastFindingsBranch) {
  const std::vector<TreeNodeId> programs = source_.Children(0);
  ASSERT_EQ(programs.size(), 2u);
  EXPECT_EQ(source_.Node(programs[0]), tree_.Programs()[0].get());
  const std::vector<TreeNodeId> fooCategories = source_.Children(programs[0]);
  ASSERT_EQ(fooCategories.size(), 2u);
  const std::vector<TreeNodeId> fooFiles = source_.Children(fooCategories[1]);
  ASSERT_EQ(fooFiles.size(), 2u);
  EXPECT_EQ(source_.NodeText(fooFiles[1]), L"C:\\Foo\\foo.ini");
  EXPECT_TRUE(source_.Children(fooFiles[1]).empty());

  TLeftoverNode& ini = *tree_.Programs()[0]->Children[1]->Children[1];
  SetCheckState(ini, csChecked);
  EXPECT_EQ(source_.NodeCheckState(fooFiles[1]), csChecked);
  EXPECT_EQ(source_.NodeCheckState(fooCategories[1]), csPartlyChecked);

  // Only the last program and its last category are open (the last node is a finding).
  const std::vector<TreeNodeId> barCategories = source_.Children(programs[1]);
  EXPECT_FALSE(source_.NodeExpanded(programs[0]));
  EXPECT_FALSE(source_.NodeExpanded(fooCategories[1]));
  EXPECT_TRUE(source_.NodeExpanded(programs[1]));
  EXPECT_TRUE(source_.NodeExpanded(barCategories.back()));
}

TEST_F(LeftoverTreeSourceTest, AnIdOfAFreedNodeIsAnsweredAsGone) {
  const TreeNodeId bar = source_.Children(0)[1];
  const TreeNodeId barFile = source_.Children(source_.Children(bar)[0])[0];
  tree_.Remove(*tree_.Programs()[1]);  // as Delete's second pass removes an emptied program
  EXPECT_EQ(source_.Node(bar), nullptr);
  EXPECT_EQ(source_.Node(barFile), nullptr);
  EXPECT_EQ(source_.NodeText(barFile), L"");
  EXPECT_EQ(source_.NodeCheckState(barFile), 0);
  EXPECT_EQ(Texts(0).size(), 1u);
}

}  // namespace
}  // namespace orvix::ui
