// Child processes for the tests: output goes to files so nothing can block.
#include "process.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

std::string makeTempDir()
{
    char tmpl[] = "/tmp/tavock-test-XXXXXX";
    char *dir = mkdtemp(tmpl);
    return dir ? dir : "/tmp";
}

void removeTempDir(const std::string &path)
{
    // Only what makeTempDir made: a mistaken path never takes anything else.
    std::error_code ignored;
    if (path.rfind("/tmp/tavock-test-", 0) == 0)
        std::filesystem::remove_all(path, ignored);
}

TempDir::~TempDir()
{
    removeTempDir(path);
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string ChildProcess::output() const { return readFile(outPath); }
std::string ChildProcess::errors() const { return readFile(errPath); }

static void fillResult(ProcessResult &r, int status)
{
    if (WIFEXITED(status)) {
        r.exited = true;
        r.status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        r.signal = WTERMSIG(status);
    }
}

bool ChildProcess::poll(ProcessResult &result)
{
    if (pid <= 0)
        return true;
    int status;
    if (waitpid(pid, &status, WNOHANG) != pid)
        return false;
    pid = -1;
    fillResult(result, status);
    result.out = output();
    result.err = errors();
    return true;
}

ProcessResult ChildProcess::wait(int timeoutMs)
{
    ProcessResult r;
    for (int waited = 0; pid > 0; waited += 5) {
        if (poll(r))
            return r;
        if (waited >= timeoutMs) {
            kill(pid, SIGKILL);
            int status;
            waitpid(pid, &status, 0);
            pid = -1;
            r.timedOut = true;
            r.out = output();
            r.err = errors();
            return r;
        }
        usleep(5000);
    }
    return r;
}

ChildProcess::~ChildProcess()
{
    if (pid > 0) {
        kill(pid, SIGKILL);
        int status;
        waitpid(pid, &status, 0);
    }
    if (!outPath.empty())
        unlink(outPath.c_str());
    if (!errPath.empty())
        unlink(errPath.c_str());
}

static std::string tempFile()
{
    char tmpl[] = "/tmp/tavock-out-XXXXXX";
    int fd = mkstemp(tmpl);
    if (fd >= 0)
        close(fd);
    return tmpl;
}

bool spawnProcess(ChildProcess &child, const std::vector<std::string> &args,
                  const EnvChanges &env)
{
    child.outPath = tempFile();
    child.errPath = tempFile();
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        for (const std::string &change : env) {
            size_t eq = change.find('=');
            if (eq == std::string::npos)
                unsetenv(change.c_str());
            else
                setenv(change.substr(0, eq).c_str(), change.substr(eq + 1).c_str(), 1);
        }
        int in = open("/dev/null", O_RDONLY);
        int out = open(child.outPath.c_str(), O_WRONLY | O_TRUNC);
        int err = open(child.errPath.c_str(), O_WRONLY | O_TRUNC);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        // TAVOCK_TEST_WRAPPER (e.g. "valgrind --error-exitcode=1 -q") runs
        // the clock itself under a checker; words are split on blanks.
        std::vector<std::string> words;
        const char *wrapper = std::getenv("TAVOCK_TEST_WRAPPER");
        if (wrapper && args[0] == TAVOCK_BINARY_PATH) {
            std::string w(wrapper), word;
            for (char ch : w + " ") {
                if (ch == ' ') {
                    if (!word.empty())
                        words.push_back(word);
                    word.clear();
                } else {
                    word += ch;
                }
            }
        }
        if (!words.empty() && words[0][0] != '/') {
            // execv needs a path: look the checker up on PATH ourselves.
            words[0] = "/usr/bin/" + words[0];
        }
        std::vector<char *> argv;
        for (const std::string &w : words)
            argv.push_back(const_cast<char *>(w.c_str()));
        for (const std::string &a : args)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    child.pid = pid;
    return true;
}

ProcessResult runProcess(const std::vector<std::string> &args, const EnvChanges &env,
                         int timeoutMs)
{
    ChildProcess child;
    if (!spawnProcess(child, args, env))
        return ProcessResult{};
    return child.wait(timeoutMs);
}

void stopServerProcess(pid_t pid, int killAfterMs, int giveUpMs)
{
    kill(pid, SIGTERM);
    int status;
    for (int ms = 0; ms < giveUpMs; ms += 10) {
        if (waitpid(pid, &status, WNOHANG) != 0)
            break;
        usleep(10000);
        if (ms == killAfterMs)
            kill(pid, SIGKILL);
    }
}
