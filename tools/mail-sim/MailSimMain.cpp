// sutakiba-mail-sim: a local SMTP server that shows what a gateway receives.
//
//   sutakiba-mail-sim [--port N] [--reject greeting|mail|rcpt|data] [--code N]
//                     [--rcpt N] [--port-file FILE] [--spool DIR]
//
// Listens on 127.0.0.1 only (port 0, the default, picks a free one); prints
// "listening on 127.0.0.1:<port>", then every message decoded (the keyword
// body in readable Japanese, the melody digits). --spool keeps each message's
// raw data as mail-<n>.eml. Serves one connection at a time; ends on SIGTERM
// or SIGINT.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "SmtpSession.h"

namespace {

volatile sig_atomic_t stopRequested = 0;
void requestStop(int) { stopRequested = 1; }

int usage() {
    std::cerr << "usage: sutakiba-mail-sim [--port N] [--reject greeting|mail|rcpt|data] [--code N] [--rcpt N]"
                 " [--port-file FILE] [--spool DIR]\n";
    return 2;
}

bool sendAll(int fd, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

void serve(int client, const mailsim::SmtpOptions& options, const std::string& spool, int& count) {
    mailsim::SmtpSession session(options, [&](const mailsim::ReceivedMail& mail) {
        ++count;
        std::cout << "--- message " << count << " ---\n" << mailsim::describeMail(mail) << "--- end ---" << std::endl;
        if (!spool.empty()) std::ofstream(spool + "/mail-" + std::to_string(count) + ".eml", std::ios::binary) << mail.data;
    });
    if (!sendAll(client, session.greeting())) return;
    char buffer[4096];
    while (!stopRequested && !session.closed()) {
        pollfd p{client, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) continue;
        const ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        if (!sendAll(client, session.receive(std::string(buffer, static_cast<size_t>(n))))) return;
    }
}

}  // namespace

int main(int argc, char** argv) {
    mailsim::SmtpOptions options;
    int port = 0;
    std::string portFile, spool;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--port" && hasValue) {
            port = std::atoi(argv[++i]);
        } else if (arg == "--reject" && hasValue) {
            const std::string where = argv[++i];
            if (where == "greeting") options.rejectAt = mailsim::RejectAt::Greeting;
            else if (where == "mail") options.rejectAt = mailsim::RejectAt::Mail;
            else if (where == "rcpt") options.rejectAt = mailsim::RejectAt::Rcpt;
            else if (where == "data") options.rejectAt = mailsim::RejectAt::Data;
            else return usage();
        } else if (arg == "--code" && hasValue) {
            options.rejectCode = std::atoi(argv[++i]);
        } else if (arg == "--rcpt" && hasValue) {
            options.rejectRcpt = std::atoi(argv[++i]);
        } else if (arg == "--port-file" && hasValue) {
            portFile = argv[++i];
        } else if (arg == "--spool" && hasValue) {
            spool = argv[++i];
        } else {
            return usage();
        }
    }

    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never reachable from outside
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 8) != 0) {
        std::perror("sutakiba-mail-sim: listen");
        return 1;
    }
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);

    struct sigaction action{};
    action.sa_handler = requestStop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    std::cout << "listening on 127.0.0.1:" << port << std::endl;
    if (!portFile.empty()) {
        std::ofstream(portFile + ".tmp") << port << "\n";
        std::rename((portFile + ".tmp").c_str(), portFile.c_str());
    }
    int count = 0;
    while (!stopRequested) {
        pollfd p{listener, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) continue;
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0) continue;
        serve(client, options, spool, count);
        close(client);
    }
    close(listener);
    return 0;
}
