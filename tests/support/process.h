// Runs the program (or any command) as a real child process with its own
// environment, capturing standard output, standard error and the exit.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct ProcessResult {
    bool exited = false;     // ended by exit (not by a signal, not killed by us)
    int status = -1;         // exit status when exited
    int signal = 0;          // terminating signal otherwise
    bool timedOut = false;   // we had to kill it
    std::string out, err;    // everything written to stdout and stderr
};

// Environment changes: "NAME=value" sets, "NAME" alone unsets.
using EnvChanges = std::vector<std::string>;

struct ChildProcess {
    pid_t pid = -1;
    std::string outPath, errPath;  // files receiving stdout and stderr
    std::string output() const;    // stdout so far
    std::string errors() const;    // stderr so far
    // Waits up to timeoutMs for the exit; kills it (SIGKILL) after that.
    ProcessResult wait(int timeoutMs);
    // True once the process has exited; fills result then.
    bool poll(ProcessResult &result);
    ~ChildProcess();
};

// Starts args[0] (a path) with args as argv; stdin is /dev/null. When the
// environment names TAVOCK_TEST_WRAPPER, that command line is put in front.
bool spawnProcess(ChildProcess &child, const std::vector<std::string> &args,
                  const EnvChanges &env = {});

// Starts, waits up to timeoutMs and collects everything.
ProcessResult runProcess(const std::vector<std::string> &args, const EnvChanges &env = {},
                         int timeoutMs = 10000);

// Ends a child that serves the tests (a server, a compositor): SIGTERM,
// SIGKILL after killAfterMs if it is still there, reaped within giveUpMs.
void stopServerProcess(pid_t pid, int killAfterMs, int giveUpMs);

// A fresh temporary directory (removed by the caller if it cares).
std::string makeTempDir();

// Removes a directory made by makeTempDir with everything in it.
void removeTempDir(const std::string &path);

// A temporary directory removed with everything in it when it goes.
struct TempDir {
    std::string path = makeTempDir();
    ~TempDir();
};
std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &text);
