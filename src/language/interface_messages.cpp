#include "language/interface_messages.h"

#include <array>
#include <unordered_map>

#include "language/language.h"
#include "language/messages.h"

namespace orvix {
namespace {

constexpr std::array<const TMessage*, 50> kInterfaceMessages{
    &msg::RemoveEntry_ASK, &msg::Edit_Search_Tip, &msg::ForcedUninstall_Browser_Tip, &msg::ListviewHeader_Software,
    &msg::BatchUninstall_NoneSelect, &msg::Uninstall_NoneSelect, &msg::ListView_Icon_Hint,
    &msg::ListView_List_Hint, &msg::ListView_View_Hint, &msg::WindowState_Max, &msg::WindowState_Normor,
    &msg::WindowState_Min, &msg::Close, &msg::MoreMenu_Setting, &msg::Log_DeleteAll_ASK, &msg::Log_Delete_ASK,
    &msg::NoPowerfulScan_Found_Tip, &msg::Log_M, &msg::App_Version_M, &msg::OS_Version_M, &msg::Date_M,
    &msg::Create_Restore_M, &msg::CreateRestore_Title_M, &msg::CreateRestore_Detaill_M, &msg::Uninstalling_M,
    &msg::Uninstalling_Detaill_M, &msg::UninstallComplete_Title_M, &msg::Standard_Uninstall_M, &msg::Uninstall_M,
    &msg::Deselect_All_M, &msg::Select_All_M, &msg::PowerfulScan_DeleteASK_M, &msg::Operation_M,
    &msg::Powerful_Scan_M, &msg::Deleted_Registry_Key_M, &msg::Deleted_Registry_Value_M, &msg::Delete_File_M,
    &msg::Delete_Folder_M, &msg::Reboot_to_Delete_M, &msg::ReStartup_to_Delete_M, &msg::Delete_finished_M,
    &msg::Shredder_Del_M, &msg::Shredder_NotDel_M, &msg::Shredder_NotAddFolder_M, &msg::Shredder_Sucess_M,
    &msg::Shredder_DirIsEmpty_M, &msg::p_RegistryCaption_M, &msg::p_FileCaption_M, &msg::p_FormatOneItem_M,
    &msg::p_FormatItems_M,
};

// Message key -> its text of the last fetch.
std::unordered_map<std::wstring, std::wstring>& FetchedTexts() {
  static std::unordered_map<std::wstring, std::wstring> texts;
  return texts;
}

}  // namespace

std::span<const TMessage* const> InterfaceMessageList() { return kInterfaceMessages; }

void LoadInterfaceMessages(const TLanguage& language) {
  auto& texts = FetchedTexts();
  for (const TMessage* message : kInterfaceMessages) {
    texts[message->key] = language.GetMessage(message->key, message->english);
  }
}

const std::wstring& InterfaceMessage(const TMessage& message) {
  auto& texts = FetchedTexts();
  const auto found = texts.find(message.key);
  if (found != texts.end()) return found->second;
  return texts.emplace(message.key, message.english).first->second;
}

}  // namespace orvix
