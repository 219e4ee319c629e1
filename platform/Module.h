#pragma once
// Where the running executable lies; set by the back end at start-up (tests
// point it at a folder of their own).
#include <string>

void SetExeFolder(const std::string& folder);
const std::string& GetExeFolder();
