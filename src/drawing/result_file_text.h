#pragma once
// Lines of the run log that say why a result file (.fkn, .ags) was refused;
// the window's own message follows them.

#include <string>
#include <string_view>

#include "common/list_input.h"

namespace tarvel {

// A value that could not be read, or numbers missing at the end of the file.
std::string readErrorText(const ListInputError& e, std::string_view file);
// A count in the header that is negative.
std::string invalidCountText(std::string_view file, std::string_view what, int count);
// A count in the header beyond what the drawing holds.
std::string countOverLimitText(std::string_view file, std::string_view what, int count, int limit);

}  // namespace tarvel
