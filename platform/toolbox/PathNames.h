// Linux path strings taken apart and put together, below the folder ID table and the
// platform's names.
#pragma once

#include <string>

std::string FpJoin(const std::string& folder, const std::string& leaf);
std::string FpParent(const std::string& path);
std::string FpLastElement(const std::string& path);
// The path with links and "." / ".." resolved; the path itself when it does not resolve.
std::string FpCanonical(const std::string& path);
