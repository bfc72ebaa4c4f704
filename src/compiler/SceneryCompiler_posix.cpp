#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "compiler/SceneryCompiler.h"
#include "common/LastError.h"
#include "placement/Message.h"

extern char** environ;

// The same contract as on Windows: one pipe carries both output streams, the compiler keeps our
// standard input, and the pipe is read until it reports its end.
bool RunSceneryCompiler(const std::string& path, bool keepAssembler, std::string& output) {
    output.clear();
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        ReportMessage(FormatText(limits::kMessage, "ERROR:%X Cannot create output pipe",
                                 static_cast<unsigned>(errno)),
                      message_kind::kPlain);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 2);

    std::string program = "BGLC.EXE", keep = "-keep", file = path;
    std::vector<char*> argv{program.data()};
    if (keepAssembler)
        argv.push_back(keep.data());
    argv.push_back(file.data());
    argv.push_back(nullptr);

    pid_t child = 0;
    int started = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (started != 0) {
        close(ends[0]);
        ReportMessage(FormatText(limits::kMessage, "ERROR:%X Cannot create process, \"%s\"",
                                 static_cast<unsigned>(started),
                                 SceneryCompilerCommandLine(path, keepAssembler).c_str()),
                      message_kind::kPlain);
        SetLastErrorCode(static_cast<uint32_t>(started));
        return false;
    }
    char piece[compiler::kReadPiece];
    for (;;) {
        ssize_t got = read(ends[0], piece, sizeof piece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        AppendCompilerOutput(output, std::string_view(piece, static_cast<size_t>(got)));
    }
    close(ends[0]);
    // Reaped so that no zombie is left; the exit code means nothing to the build.
    waitpid(child, nullptr, 0);
    return true;
}
