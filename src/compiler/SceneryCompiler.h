// Running the simulator's scenery compiler BGLC.EXE on the placement file: its command line, the
// gathering of its console output, and the Build command around it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "common/Text.h"

namespace compiler {
constexpr const char* kProgram = "BGLC.EXE ";
constexpr const char* kKeepSwitch = "-keep ";
// The compiler's output is read in pieces of this many bytes at most.
constexpr size_t kReadPiece = 260;
// Start-up takes the command line from a zero-filled buffer of this size.
constexpr size_t kCommandLineBuffer = 1024;
}  // namespace compiler

// What Build needs from the main window.
struct BuildRequest {
    std::string outputPath;
    bool keepAssembler = false;
    bool viewOutput = true;
};

// "BGLC.EXE " ["-keep "] path; a path holding a blank is put in double quotes so that the
// compiler receives it as one word.
std::string SceneryCompilerCommandLine(std::string_view path, bool keepAssembler);

// Appends one piece read from the compiler as text: up to its first zero byte, if any.
void AppendCompilerOutput(std::string& output, std::string_view piece);

// Starts the compiler without a console window and reads everything it writes to standard
// output and standard error through one pipe, in the order written, until the pipe ends.
// While it runs, the calling thread's windows keep repainting but receive no input.
// False (after its message) when the compiler could not be started.
bool RunSceneryCompiler(const std::string& path, bool keepAssembler, std::string& output);

// RunSceneryCompiler, then the output shown through showOutput when viewOutput is on.
using ShowCompilerOutput = std::function<void(const std::string& output)>;
bool RunSceneryCompiler(const BuildRequest& request, const ShowCompilerOutput& showOutput);

// The Build command: writes the placement file through writeOutputFile (which shows its own
// message on failure) and, when that succeeded, runs the compiler on it.
bool BuildScenery(const std::function<bool()>& writeOutputFile, const BuildRequest& request,
                  const ShowCompilerOutput& showOutput);
