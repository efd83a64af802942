// Names of recording files as the main window handles them: the title shown
// in the pages, and the clean-up of a name chosen in the file dialog.
#pragma once

#include <string>

// The folder in which the file dialogs open: empty at start, the current
// folder once the main window is first shown, then the folder of the last
// accepted dialog.
extern std::string g_dataDirectory;

// The default extension of the file dialogs (without the dot).
inline constexpr char kDataFileDefaultExtension[] = "abf";

// The file name without directory and extension ("/d/cell 3.abf" -> "cell 3").
std::string FileTitle(const std::string& path);

// A file name as the dialog handed it back, made usable: one leading double
// quote dropped and the text cut at the last double quote; made absolute
// against `currentDirectory`; when it names no file but the name has no
// extension and name + "." + `defaultExtension` exists, that file; symbolic
// links resolved to the file they point at.
std::string
NormaliseChosenFileName(const std::string& name, const std::string& currentDirectory,
                        const std::string& defaultExtension = kDataFileDefaultExtension);
