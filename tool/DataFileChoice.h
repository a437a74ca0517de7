// Which data file the import and the export work on.
#pragma once

#include <string>

#include "tool/Options.h"

// --data, else FILE= of the settings file in the current folder, else the
// default name; its name as the file functions take it and as the user
// knows it.
std::string DataFileOf(const ImportOptions& options);
