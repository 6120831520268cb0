// The application's resources compiled for one language letter as the build does it: the
// shared sources, the language's own and the language's defines.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace wxtest {

// The NAME=text lines of a language's defines, in file order.
std::vector<std::string> LanguageDefines(char letter);

// Compiles the resources for `letter` with the resource compiler `rescomp` into `out`; ""
// on success, else what the compiler said.
std::string CompileLanguageResources(const std::string& rescomp, char letter, const std::filesystem::path& out);

}  // namespace wxtest
