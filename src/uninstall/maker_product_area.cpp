// Area 20: the maker's own products. Their keys are known from the product
// table and are offered whether or not they exist; the maker's key itself
// goes too when the product was the last one under it.
#include "platform/text.h"
#include "uninstall/maker_keys.h"
#include "uninstall/product_table.h"
#include "uninstall/regedit_scan.h"
#include "uninstall/software_list_areas.h"

namespace orvix {
namespace {

constexpr const wchar_t* kMakerKey = L"\\SOFTWARE\\Orvix";

class TMakerProductArea : public TScanArea {
 public:
  int Number() const override { return 20; }
  bool NeedsKeyword() const override { return false; }
  // The product's installer wrote its keys in the view its uninstall entry
  // lies in.
  TScanViews Views() const override { return svEntry; }

  void Run(TRegeditScanClasses& scan) override {
    const TSoftInfo& record = scan.Record();
    const TFileterManage& table = ProductTable();
    const std::wstring row = table.FindProductRow(LowerCase(Trim(record.Publisher + L" " + record.DisplayName)));
    if (row.empty()) return;
    const std::wstring regList = table.ProductColumn(row, L"reg", L"");
    for (const TMakerKey& key : MakerRegistryKeys(regList)) {
      if (!scan.Tick()) return;
      scan.AddKeyFinding(key.Root, key.Path);
    }
    const std::wstring product = MakerProductSubKey(regList);
    if (product.empty()) return;
    TScanKey maker(HKEY_LOCAL_MACHINE, kMakerKey, scan.View64());
    const std::vector<std::wstring> products = maker.SubKeyNames();
    if (products.size() == 1 && LowerCase(products.front()) == product) scan.AddKeyFinding(HKEY_LOCAL_MACHINE, kMakerKey);
  }
};

}  // namespace

TScanAreaPtr MakeMakerProductArea() { return std::make_unique<TMakerProductArea>(); }

}  // namespace orvix
