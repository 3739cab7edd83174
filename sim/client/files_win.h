// Placing the simulator's files into the prefix.
#pragma once

#include <string>

namespace sim::files {

// True when both files exist and hold the same bytes.
bool SameContents(const std::string& a, const std::string& b);
// Copies from to to unless to already holds the same bytes; true when to then matches.
bool Place(const std::string& from, const std::string& to);
// Deletes the file; true when it is gone.
bool Remove(const std::string& path);
// The folder of this program's executable.
std::string OwnFolder();

} // namespace sim::files
