// sutakiba-modem-sim: a simulated voice modem on a pseudo-terminal.
//
//   sutakiba-modem-sim [--fail BUSY|"NO CARRIER"|...] [--fail-at N] [--echo]
//                      [--log FILE] [--path-file FILE]
//
// Prints "pty: /dev/pts/N" once the terminal is ready (and writes the path to
// --path-file), then answers every AT command line, logging each with its
// time since start, and prints each message keyed into the centre decoded:
// "message to <recipient>: <text>" and "melody: <digits>". Ends on SIGTERM or
// SIGINT.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "ModemSession.h"

namespace {

volatile sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

int usage() {
    std::cerr << "usage: sutakiba-modem-sim [--fail ANSWER] [--fail-at N] [--echo] [--log FILE] [--path-file FILE]\n"
                 "       sutakiba-modem-sim --replay FILE [--fail ANSWER] [--fail-at N] [--log FILE]\n";
    return 2;
}

void makeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return;
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
}

}  // namespace

int main(int argc, char** argv) {
    modemsim::ModemOptions options;
    std::string logPath, pathFile, replayPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--fail" && hasValue) {
            options.failAnswer = argv[++i];
        } else if (arg == "--fail-at" && hasValue) {
            options.failAt = std::atoi(argv[++i]);
        } else if (arg == "--echo") {
            options.echo = true;
        } else if (arg == "--log" && hasValue) {
            logPath = argv[++i];
        } else if (arg == "--path-file" && hasValue) {
            pathFile = argv[++i];
        } else if (arg == "--replay" && hasValue) {
            replayPath = argv[++i];
        } else {
            return usage();
        }
    }

    struct sigaction action{};
    action.sa_handler = requestStop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::ofstream logFile;
    if (!logPath.empty()) logFile.open(logPath, std::ios::app);
    const auto start = std::chrono::steady_clock::now();
    auto stamp = [&] {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        char text[32];
        std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(ms / 1000), static_cast<long long>(ms % 1000));
        return std::string(text);
    };
    auto logLine = [&](const std::string& line) {
        const std::string entry = "[" + stamp() + "] " + line;
        std::cout << entry << std::endl;
        if (logFile) logFile << entry << std::endl;
    };
    modemsim::ModemSession session(
        options, [&](const std::string& line) { logLine("command: " + line); },
        [&](const modemsim::DecodedMessage& message, const std::string& recipient) {
            logLine("message to " + recipient + ": " + message.text);
            if (!message.melody.empty()) logLine("melody: " + message.melody);
        });

    if (!replayPath.empty()) {
        // What an application once wrote to the port, answered and decoded
        // as if it came now: shows what a recorded session keyed in.
        std::ifstream in(replayPath, std::ios::binary);
        if (!in) {
            std::perror("sutakiba-modem-sim: replay");
            return 1;
        }
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string answer = session.receive(bytes);
        logLine("answers: " + std::to_string(answer.size()) + " bytes");
        return 0;
    }

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("sutakiba-modem-sim: pseudo-terminal");
        return 1;
    }
    const std::string slavePath = ptsname(master);
    // Holding the terminal's other side open keeps reads from failing while
    // no program has the port open.
    const int slave = open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        std::perror("sutakiba-modem-sim: terminal");
        return 1;
    }
    makeRaw(slave);

    std::cout << "pty: " << slavePath << std::endl;
    if (!pathFile.empty()) {
        std::ofstream(pathFile + ".tmp") << slavePath << "\n";
        std::rename((pathFile + ".tmp").c_str(), pathFile.c_str());
    }

    char buffer[4096];
    while (!stopRequested) {
        pollfd p{master, POLLIN, 0};
        const int ready = poll(&p, 1, 200);
        if (ready <= 0 || !(p.revents & POLLIN)) continue;
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) continue;
        const std::string answer = session.receive(std::string(buffer, static_cast<size_t>(n)));
        if (!answer.empty() && write(master, answer.data(), answer.size()) < 0) logLine("write failed");
    }
    close(slave);
    close(master);
    return 0;
}
