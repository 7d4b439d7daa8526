#pragma once
// Shared set-up of the GUI tests: one QApplication on the offscreen platform
// for the whole run, the per-user settings redirected into a temporary
// folder that the tests may wipe, and the clipboard's plain text.

#include <string>

namespace movra::test {

void ClearSettings();  // a first start: no saved setting of the program
std::string ClipboardText();
void SetClipboardText(const std::string& text);

} // namespace movra::test
