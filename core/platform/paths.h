// Path rules of the workbench on a case-sensitive file system: paths keep their letter case,
// extensions compare without regard to case, and derived files (.BIN, .LST, .BAK) take the
// source's base name with an extension in the letter case of the source's own extension.
#pragma once

#include <string>
#include <string_view>

namespace edumac8 {

// The extension with its dot (".asm"), or empty when the file name has none.
std::string Extension(std::string_view path);

bool HasExtension(std::string_view path, std::string_view dotExt);  // case-insensitive

// The path with its extension replaced by `upperDotExt` (".BIN"), lower-cased when the
// path's own extension is written in lower case.
std::string DerivedPath(std::string_view path, std::string_view upperDotExt);

std::string FileNameOf(std::string_view path);

// HomeDir of a program: the directory of its file with a trailing '/', or the parent of that
// directory when it is named bin in any letter case.
std::string HomeDirOf(std::string_view programPath);

// Where the generated VHDL goes: FPGA/ beside the program (in HomeDir) when the user may write
// there, otherwise $XDG_DATA_HOME/edumac8/FPGA/ ($XDG_DATA_HOME defaulting to ~/.local/share).
// Null stands for an unset variable.
std::string FpgaDirFor(const std::string& homeDir, const char* xdgDataHome, const char* home);
std::string FpgaDirFor(const std::string& homeDir);  // from the environment

// The path of the running program (from /proc/self/exe).
std::string ProgramPath();

}  // namespace edumac8
