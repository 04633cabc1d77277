#include "platform/sim/sim_locale_formats.h"

namespace orvix::sim {

// One locale for each distinct picture, and those whose pictures end with a
// separator, hold text or spell the month.
const std::vector<SimShortDateFormat>& ShippedShortDateFormats() {
  static const std::vector<SimShortDateFormat> formats = {
      {L"en-US", L"M/d/yyyy"},     {L"en-GB", L"dd/MM/yyyy"},      {L"en-AU", L"d/MM/yyyy"},
      {L"en-IN", L"dd-MM-yyyy"},   {L"en-ZA", L"yyyy/MM/dd"},      {L"en-CA", L"yyyy-MM-dd"},
      {L"de-DE", L"dd.MM.yyyy"},   {L"fr-FR", L"dd/MM/yyyy"},      {L"nl-NL", L"d-M-yyyy"},
      {L"nl-BE", L"d/MM/yyyy"},    {L"fi-FI", L"d.M.yyyy"},        {L"sk-SK", L"d. M. yyyy"},
      {L"sl-SI", L"d. MM. yyyy"},  {L"hu-HU", L"yyyy. MM. dd."},   {L"hr-HR", L"d.M.yyyy."},
      {L"sr-Latn-RS", L"d.M.yyyy."}, {L"lv-LV", L"dd.MM.yyyy."},  {L"bg-BG", L"d.M.yyyy 'г.'"},
      {L"tr-TR", L"d.MM.yyyy"},    {L"el-GR", L"d/M/yyyy"},        {L"mk-MK", L"dd.M.yyyy"},
      {L"ar-SA", L"dd/MM/yy"},     {L"ja-JP", L"yyyy/MM/dd"},      {L"zh-CN", L"yyyy/M/d"},
      {L"ko-KR", L"yyyy-MM-dd"},   {L"mn-MN", L"yyyy.MM.dd"},      {L"et-EE", L"dd.MM.yyyy"},
      {L"lt-LT", L"yyyy-MM-dd"},   {L"en-IE (custom)", L"dd-MMM-yy"}, {L"en-US (custom)", L"d MMMM yyyy"},
      {L"de-CH (custom)", L"ddd dd.MM.yy"},
  };
  return formats;
}

}  // namespace orvix::sim
