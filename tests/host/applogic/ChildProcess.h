// A tool started by a test: its standard output read line by line, stopped
// by its own process id when the test ends.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace logic_test {

class ChildProcess {
public:
    explicit ChildProcess(std::vector<std::string> arguments) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ < 0) throw std::runtime_error("fork");
        if (pid_ == 0) {
            dup2(pipeFds[1], 1);
            close(pipeFds[0]);
            close(pipeFds[1]);
            std::vector<char*> argv;
            for (std::string& a : arguments) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(pipeFds[1]);
        out_ = pipeFds[0];
    }
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of output; "" after `seconds` without one (or at its end).
    std::string readLine(int seconds = 10) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (;;) {
            const size_t end = buffered_.find('\n');
            if (end != std::string::npos) {
                std::string line = buffered_.substr(0, end);
                buffered_.erase(0, end + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return "";
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return "";
            char chunk[1024];
            const ssize_t n = read(out_, chunk, sizeof chunk);
            if (n <= 0) return "";
            buffered_.append(chunk, static_cast<size_t>(n));
        }
    }

    // Lines until one contains `text` (that one included); empty when none came.
    std::string readUntil(const std::string& text, int seconds = 10) {
        std::string all;
        for (;;) {
            const std::string line = readLine(seconds);
            if (line.empty() && buffered_.empty()) return "";
            all += line + "\n";
            if (line.find(text) != std::string::npos) return all;
        }
    }

    // Stops the process (SIGTERM to its own id) and returns its exit status.
    int stop() {
        if (pid_ <= 0) return exitStatus_;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        close(out_);
        exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return exitStatus_;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int exitStatus_ = -1;
    std::string buffered_;
};

}  // namespace logic_test
