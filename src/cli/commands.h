// The korvelc commands that live in files of their own; each takes the words after its name
// and returns the exit status.
#pragma once

#include <string>
#include <vector>

namespace korvel {

// render PROJECT [-o FILE.svg] [--paths]
int RenderCommand(const std::vector<std::string>& words);

} // namespace korvel
