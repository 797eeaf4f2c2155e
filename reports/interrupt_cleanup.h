#pragma once

#include <filesystem>

// Named temporary files that are removed when the process is ended by SIGINT, SIGTERM or SIGHUP;
// the signal then takes its usual course. Only signals left at their default action are watched.
// Gives the slot of the file, or -1 when it cannot be watched (nothing then changes).
int WatchTemporaryFile(const std::filesystem::path &path);

// Stops watching a slot given by WatchTemporaryFile; -1 is ignored.
void UnwatchTemporaryFile(int slot);
