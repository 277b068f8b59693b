// The rotation tool beside the program: it takes the form the program hands it (options,
// then the input and the output file) and runs the system's lossless JPEG transformation
// tool, which names its output with -outfile, passing on its exit status. A failed run
// leaves no output file.
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifndef SYSTEM_JPEGTRAN
#define SYSTEM_JPEGTRAN "/usr/bin/jpegtran"
#endif

namespace {

constexpr int Failure = 1;
// The system tool's status for a result written despite warnings about the input.
constexpr int Warnings = 2;

int run(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        return Failure;
    }
    if (child == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : Failure;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s [options] input.jpg output.jpg\n", argv[0]);
        return Failure;
    }
    const std::string input = argv[argc - 2];
    const std::string output = argv[argc - 1];
    std::vector<std::string> arguments{SYSTEM_JPEGTRAN};
    arguments.insert(arguments.end(), argv + 1, argv + argc - 2);
    arguments.insert(arguments.end(), {"-outfile", output, input});
    const int status = run(arguments);
    if (status != 0 && status != Warnings) {
        std::remove(output.c_str()); // half a picture is worse than none
    }
    return status;
}
