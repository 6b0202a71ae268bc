// The commands of kelvra-cli, callable from tests: each writes its report to `out`, its
// dialogs to standard error, and returns the process exit code.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kelvra {

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// "info FILE": the level set's kind, version, levels, lock, texts and per-level summary.
int InfoCommand(const std::string& file, std::ostream& out);

// "render FILE --level N --out PICTURE": the frame of level N (from 1), game idle, no editor.
int RenderCommand(const std::string& file, int level, const std::string& picture,
                  std::ostream& err);

}  // namespace kelvra
