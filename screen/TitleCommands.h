// The operator's branding commands: the main title, the subtitle, and the font and colour of
// the two titles and the announcement line. Each applies its change at once and stores it for
// the next start.
#pragma once

namespace pd {

class Dialogs;
class MainScreen;
class SettingsFile;

enum class FontTarget { MainTitle, Subtitle, Announcement };

// Asks for the main title, stores it under "zbt" and in "cjini.txt" (current working folder)
// when that file exists, and shows it. Cancel changes nothing.
void changeMainTitle(MainScreen& screen, const SettingsFile& settings, Dialogs& dialogs);

// Asks for the subtitle, shows it and stores it under "fbt". Cancel changes nothing.
void changeSubtitle(MainScreen& screen, const SettingsFile& settings, Dialogs& dialogs);

// Opens the font dialog for one label; a confirmed choice is applied. Either way the label's
// face, size and colour are written to section "yanse", and a title's height becomes
// floor(size × 1.8).
void changeLabelFont(MainScreen& screen, const SettingsFile& settings, Dialogs& dialogs,
                     FontTarget target);

} // namespace pd
