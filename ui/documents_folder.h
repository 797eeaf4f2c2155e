#pragma once

#include <filesystem>

// The user's documents folder, created when it is missing; the home folder where the platform
// names none.
std::filesystem::path DocumentsFolder();
