// The recordings named on the command line: files as given, folders replaced
// by the recordings they hold.
#pragma once

#include <string>
#include <vector>

struct BatchInputs {
    std::vector<std::string> files;   // in the order given; a folder's files sorted by path
    std::vector<std::string> empties; // folders that held no recording
};

// Expands `arguments`: a folder gives its ".abf" and ".dat" files (any letter
// case), with `recursive` those of its subfolders too; anything else is taken
// as a recording (the loader reports one that is missing).
BatchInputs ExpandRecordingArguments(const std::vector<std::string>& arguments, bool recursive);
