#include "compiler/SceneryCompiler.h"

#include <cstring>

std::string SceneryCompilerCommandLine(std::string_view path, bool keepAssembler) {
    std::string line = compiler::kProgram;
    if (keepAssembler)
        line += compiler::kKeepSwitch;
    // Unquoted, a folder such as "My Scenery" would reach the compiler as two arguments.
    if (path.find(' ') != std::string_view::npos) {
        line += '"';
        line += path;
        line += '"';
    } else {
        line += path;
    }
    return line;
}

void AppendCompilerOutput(std::string& output, std::string_view piece) {
    const void* zero = piece.empty() ? nullptr : std::memchr(piece.data(), '\0', piece.size());
    size_t length =
        zero ? static_cast<size_t>(static_cast<const char*>(zero) - piece.data()) : piece.size();
    output.append(piece.data(), length);
}

bool RunSceneryCompiler(const BuildRequest& request, const ShowCompilerOutput& showOutput) {
    std::string output;
    if (!RunSceneryCompiler(request.outputPath, request.keepAssembler, output))
        return false;
    if (request.viewOutput && showOutput)
        showOutput(output);
    return true;
}

bool BuildScenery(const std::function<bool()>& writeOutputFile, const BuildRequest& request,
                  const ShowCompilerOutput& showOutput) {
    if (!writeOutputFile())
        return false;
    return RunSceneryCompiler(request, showOutput);
}
