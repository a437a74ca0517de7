// How the import program talks to its user, whatever it reads or writes.
#pragma once

#include <functional>
#include <string>

// Shows one line (UTF-8, no line end) to the user; errors go apart.
using ImportPrint = std::function<void(const std::string& line, bool error)>;
