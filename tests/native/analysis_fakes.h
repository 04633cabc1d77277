// Stand-ins for the windows the analysis updates: the rows of the software
// list and its two image lists. Both record the thread they were called on.
#pragma once

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "inventory/analysis_view.h"
#include "platform/sim/sim_icons.h"

namespace orvix::testing {

class RecordingListView : public ISoftwareListView {
 public:
  struct Row {
    std::int32_t imageIndex = 0;
    std::wstring sizeText;
    std::wstring dateText;
  };

  void UpdateRow(std::size_t position, std::int32_t imageIndex, const std::wstring& sizeText,
                 const std::wstring& dateText) override {
    rows[position] = {imageIndex, sizeText, dateText};
    threads.push_back(std::this_thread::get_id());
  }

  std::map<std::size_t, Row> rows;  // by position in Items
  std::vector<std::thread::id> threads;
};

// Image lists that start with the default image at 0 and keep what each
// added icon stood for (the handles themselves are released after adding).
class RecordingIconList : public IIconList {
 public:
  explicit RecordingIconList(sim::SimIcons& icons) : icons_(icons) {}

  std::int32_t AddIcons(IconHandle small, IconHandle large) override {
    this->small.push_back(icons_.Describe(small).value_or(sim::SimIcon{}));
    this->large.push_back(icons_.Describe(large).value_or(sim::SimIcon{}));
    threads.push_back(std::this_thread::get_id());
    return static_cast<std::int32_t>(this->large.size());  // after the default image
  }

  std::vector<sim::SimIcon> small;
  std::vector<sim::SimIcon> large;
  std::vector<std::thread::id> threads;

 private:
  sim::SimIcons& icons_;
};

}  // namespace orvix::testing
