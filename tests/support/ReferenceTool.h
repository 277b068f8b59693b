#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Runs a reference tool (cjpeg, djpeg, jpegtran, convert, ...) with an argument list and
// waits for it; standard output goes to `output` when given. Returns the exit status, or
// -1 when the tool could not be started.
int runReferenceTool(const std::vector<std::string>& arguments,
                     const std::filesystem::path& output = {});

// True when `name` is a program on PATH.
bool referenceToolExists(const std::string& name);

// A fresh folder of its own under the system's temporary folder, removed at exit.
std::filesystem::path freshTestFolder(const std::string& prefix);
