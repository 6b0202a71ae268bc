// The program's folder (the root of the data tree) and file-name conversions.
#pragma once

#include <string>

namespace kelvra {

// The folder that holds "Graphics", "Sounds", "Levels", "Icons" and "ReadMe.htm", with a
// trailing '/'. Names in the system's tables use '\'; NativePath turns them into '/'.
const std::string& ProgramDir();
void SetProgramDir(const std::string& dir);

std::string NativePath(const std::string& name);  // '\' -> '/'
// A name that is not absolute is taken relative to the program's folder.
std::string AbsoluteFromProgram(const std::string& name);
// Relative to the program's folder when inside it, else unchanged.
std::string RelativeToProgram(const std::string& name);
std::string ExtractFileName(const std::string& path);
std::string ExtractFileExt(const std::string& path);  // without the dot, "" when none
std::string ChangeFileExt(const std::string& path, const std::string& extWithDot);
// A base folder of the user's XDG layout, without a trailing '/': $`variable` when it is an
// absolute path, otherwise `belowHome` under $HOME (under "." when HOME is unset).
std::string XdgHome(const char* variable, const char* belowHome);

}  // namespace kelvra
