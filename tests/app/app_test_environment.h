#pragma once
// Shared set-up of the GUI tests: one QApplication on the offscreen platform
// for the whole run, and the per-user settings redirected into a temporary
// folder that the tests may wipe.

#include <QString>

namespace movra::test {

// Removes every saved setting of the program (a first start).
void ClearSettings();

// The folder holding the redirected settings.
QString SettingsFolder();

// The clipboard's plain text.
std::string ClipboardText();
void SetClipboardText(const std::string& text);

} // namespace movra::test
