// What the software page lists: categories, filter, captions and the header.
#include "inventory/list_model.h"

#include <gtest/gtest.h>

#include <set>

#include "inventory/list_labels.h"
#include "list_fixture.h"
#include "platform/texts.h"
#include "sim_fixture.h"
#include "test_text.h"

namespace orvix {
namespace {

using testing::Add;
using testing::DateOf;
using testing::Entry;

constexpr TSoftwareCategory kAllCategories[] = {scAllPrograms, scWindowsUpdates, scRecentlyInstalled, scLargePrograms,
                                                scInfrequentlyUsed};

TSoftInfo Installed(TDateTime date) {
  TSoftInfo entry = Entry(L"App");
  entry.InstallDate = date;
  return entry;
}
TSoftInfo Sized(std::int64_t size) {
  TSoftInfo entry = Entry(L"App");
  entry.Size = size;
  return entry;
}
TSoftInfo Changed(TSoftInfo entry, void (*change)(TSoftInfo&)) {
  change(entry);
  return entry;
}

TEST(ListCategoriesTest, EachCategoryAdmitsByItsRule) {
  const TDateTime now = DateOf(2024, 1, 21, 15);  // 15:00
  const TSoftInfo rarelyUsed = Changed(Entry(L"App"), [](TSoftInfo& e) { e.UseRate = aurRarely; });
  const TSoftInfo update = Changed(Entry(L"KB"), [](TSoftInfo& e) { e.IsUpdate = true; });
  const struct {
    const char* name;
    TSoftInfo entry;
    std::set<TSoftwareCategory> listedIn;
  } cases[] = {
      {"plain program", Entry(L"App"), {scAllPrograms}},
      {"installed 10 whole days ago", Installed(DateOf(2024, 1, 11)), {scAllPrograms, scRecentlyInstalled}},
      {"installed 11 whole days ago", Installed(DateOf(2024, 1, 10)), {scAllPrograms}},
      {"installed today", Installed(DateOf(2024, 1, 21)), {scAllPrograms, scRecentlyInstalled}},
      {"install date 10 whole days ahead", Installed(DateOf(2024, 2, 1)), {scAllPrograms, scRecentlyInstalled}},
      {"install date 11 whole days ahead", Installed(DateOf(2024, 2, 2)), {scAllPrograms}},
      {"no install date", Installed(0), {scAllPrograms}},
      {"exactly 50 MiB", Sized(52428800), {scAllPrograms}},
      {"one byte over 50 MiB", Sized(52428801), {scAllPrograms, scLargePrograms}},
      {"rarely used", rarelyUsed, {scAllPrograms, scInfrequentlyUsed}},
      {"often used", Changed(Entry(L"App"), [](TSoftInfo& e) { e.UseRate = aurOften; }), {scAllPrograms}},
      {"update", update, {scWindowsUpdates}},
      {"large recent rarely used update",
       Changed(update,
               [](TSoftInfo& e) {
                 e.Size = 1LL << 40;
                 e.InstallDate = DateOf(2024, 1, 20);
                 e.UseRate = aurRarely;
               }),
       {scWindowsUpdates}},
      {"hidden program", Changed(rarelyUsed, [](TSoftInfo& e) { e.Hidden = true; }), {}},
      {"hidden update", Changed(update, [](TSoftInfo& e) { e.Hidden = true; }), {}},
  };
  for (const auto& c : cases) {
    for (TSoftwareCategory category : kAllCategories) {
      EXPECT_EQ(CategoryAdmits(category, c.entry, now), c.listedIn.count(category) == 1)
          << c.name << ", category " << category;
    }
  }
}

TEST(ListCategoriesTest, RecentWindowCountsWholeDaysAtAnyTimeOfDay) {
  // Ten days and nearly a whole day more is still ten whole days.
  EXPECT_TRUE(IsRecentlyInstalled(DateOf(2024, 1, 11), DateOf(2024, 1, 21, 23.99)));
  EXPECT_FALSE(IsRecentlyInstalled(DateOf(2024, 1, 11), DateOf(2024, 1, 22)));
  EXPECT_TRUE(IsRecentlyInstalled(DateOf(2024, 1, 31, 23.99), DateOf(2024, 1, 21)));
  EXPECT_FALSE(IsRecentlyInstalled(DateOf(2024, 2, 1), DateOf(2024, 1, 21)));
  // A date computed a hair short of ten whole days still counts as ten.
  EXPECT_TRUE(IsRecentlyInstalled(DateOf(2024, 1, 11), DateOf(2024, 1, 21) - 1e-10));
}

TEST(ListCaptionTest, BothViewsNameTheViewAndDetailsAddThePublisher) {
  TSoftInfo foo = Entry(L"Foo");
  foo.IsX64 = true;
  foo.Publisher = L"Foo Corp";
  EXPECT_EQ(ListCaption(foo, lvmDetails), L"Foo(x64)\r\rFoo Corp");
  EXPECT_EQ(ListCaption(foo, lvmIcons), L"Foo(x64)");
  const TSoftInfo bar = Entry(L"Bar");  // no publisher: the enumeration's single space
  EXPECT_EQ(ListCaption(bar, lvmDetails), L"Bar\r\r ");
  EXPECT_EQ(ListCaption(bar, lvmIcons), L"Bar");
}

class ListRowsTest : public testing::SimMachineTest {};

TEST_F(ListRowsTest, RowsFollowListOrderAndTheFilterMatchesNamesOnly) {
  testing::SetNow(Machine().clock, DateOf(2024, 3, 10, 12));
  TSoftList items;
  Add(items, Entry(L"Zeta Viewer"));
  Add(items, Changed(Entry(L"Security Update (KB123)"), [](TSoftInfo& e) { e.IsUpdate = true; }));
  Add(items, Changed(Entry(L"alpha tools"), [](TSoftInfo& e) {
        e.Publisher = L"Viewer Inc";
        e.SizeText = L"1.50 MB";
        e.InstallDateText = L"3/1/2024";
        e.InstallDate = DateOf(2024, 3, 1);
        e.ImageIndex = 7;
      }));
  Add(items, Changed(Entry(L"Gone Viewer"), [](TSoftInfo& e) { e.Hidden = true; }));
  Add(items, Entry(L"Beta VIEWER"));

  auto names = [](const std::vector<TListRow>& rows) {
    std::vector<std::wstring> out;
    for (const TListRow& row : rows) out.push_back(row.entry->DisplayName);
    return out;
  };
  const std::vector<TListRow> all = ListRows(items, scAllPrograms, lvmDetails);
  EXPECT_EQ(names(all), (std::vector<std::wstring>{L"Zeta Viewer", L"alpha tools", L"Beta VIEWER"}));
  EXPECT_EQ(names(ListRows(items, scAllPrograms, lvmIcons, L"viewer")),
            (std::vector<std::wstring>{L"Zeta Viewer", L"Beta VIEWER"}))
      << "the filter ignores case and never matches the publisher";
  EXPECT_EQ(names(ListRows(items, scRecentlyInstalled, lvmDetails)), (std::vector<std::wstring>{L"alpha tools"}));
  EXPECT_EQ(names(ListRows(items, scWindowsUpdates, lvmDetails, L"kb1")),
            (std::vector<std::wstring>{L"Security Update (KB123)"}));
  EXPECT_TRUE(ListRows(items, scRecentlyInstalled, lvmDetails, L"zeta").empty());
  EXPECT_EQ(CategoryCount(items, scAllPrograms), 3u) << "neither the update nor the hidden entry";
  EXPECT_EQ(CategoryCount(items, scRecentlyInstalled), 1u);
  EXPECT_EQ(CategoryCount(items, scWindowsUpdates), 1u);
  EXPECT_EQ(CategoryCount(items, scLargePrograms), 0u);

  const TListRow& alpha = all[1];
  EXPECT_EQ(alpha.index, 2u) << "rows name their entry's position in Items";
  EXPECT_EQ(alpha.caption, L"alpha tools\r\rViewer Inc");
  EXPECT_EQ(alpha.sizeText, L"1.50 MB");
  EXPECT_EQ(alpha.dateText, L"3/1/2024");
  EXPECT_EQ(alpha.imageIndex, 7);
}

TEST(ListHeaderTest, CountsRowsInTheLanguagesTextWhenItsPlaceholdersFit) {
  EXPECT_EQ(SoftwareHeaderText(42), L"Software Name (Total: 42)");
  std::wstring translation;
  const TTextSource previous = SetTextSource([&](const std::wstring& key) -> std::optional<std::wstring> {
    if (key == L"ListviewHeader_Software") return translation;
    return std::nullopt;
  });
  translation = L"Programme (gesamt: %d)";
  EXPECT_EQ(SoftwareHeaderText(3), L"Programme (gesamt: 3)");
  translation = L"Programme %s";  // a placeholder of the wrong kind never reads the number as text
  EXPECT_EQ(SoftwareHeaderText(3), L"Software Name (Total: 3)");
  SetTextSource(previous);
}

TEST(UsageLabelTest, RangeUntilTwoMonthsThenRate) {
  const struct {
    TAppUseRange range;
    TAppUseRate rate;
    const wchar_t* label;
  } cases[] = {
      {audUnknown, aurRarely, L"<unknown>"},
      {audToday, aurOften, L"today"},
      {aud3Day, aurOften, L"within 3 days"},
      {audWeek, aurOften, L"within 1 week"},
      {aud2Week, aurOften, L"within 2 weeks"},
      {audMonth, aurLess, L"within 1 month"},
      {aud2Month, aurLess, L"less"},
      {aud3Month, aurRarely, L"rarely"},
      {audMore, aurRarely, L"rarely"},
      {audMore, aurUnknown, L"<unknown>"},
      {aud2Month, aurOften, L"often"},
      {static_cast<TAppUseRange>(9), aurOften, L"<unknown>"},
      {aud3Month, static_cast<TAppUseRate>(4), L"<unknown>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UsageLabel(c.range, c.rate), c.label) << int(c.range) << "/" << int(c.rate);
  }
}

}  // namespace
}  // namespace orvix
