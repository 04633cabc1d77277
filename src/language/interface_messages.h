// The interface messages: fifty texts that the main window and the pages keep
// at hand, fetched from the language at start and again after every language
// change.
#pragma once

#include <span>
#include <string>

#include "platform/texts.h"

namespace orvix {

class TLanguage;

// The fifty messages, in the order they are fetched.
std::span<const TMessage* const> InterfaceMessageList();

// Refills the texts of every interface message from the selected language.
void LoadInterfaceMessages(const TLanguage& language);

// The text last fetched for an interface message; its English text before
// the first fetch or for a message outside the fifty.
const std::wstring& InterfaceMessage(const TMessage& message);

}  // namespace orvix
