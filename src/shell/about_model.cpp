#include "shell/about_model.h"

#include "language/messages.h"
#include "platform/platform.h"
#include "platform/system_info.h"
#include "shell/window_messages.h"

namespace orvix {

TAboutTexts AboutTexts() {
  TAboutTexts texts;
  texts.title = kApplicationTitle;
  texts.version = L"v" + FileVersionText(CurrentPlatform().Shell().GetModuleFileName());
  texts.legal = L"Copyright \u00a9 2026 Orvix. All rights reserved.";
  texts.credits = L"Built with SQLite, zlib and libgcrypt.";
  texts.closeHint = Text(msg::Close);
  return texts;
}

}  // namespace orvix
