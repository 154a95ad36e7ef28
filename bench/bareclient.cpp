// morla_bareclient: the least a program must do to read a device. Opens the port, sends the
// framed read command one character per "T", collects the whole reply, and repeats. It prints
// one line per read: "read <n> <wall s> <processor s> <characters out> <characters in> <ok>",
// the processor time being this process's own, from the first character out to the reply's
// last character in.
//
//   morla_bareclient PORT COMMAND REPLY_LENGTH READS GAP_MS
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

double clockSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Line {
    int fd = -1;
    long out = 0, in = 0;

    bool send(const char* bytes, size_t n) {
        out += long(n);
        return write(fd, bytes, n) == ssize_t(n);
    }
    // Blocks until a character arrives; -1 when none comes within the time-out.
    int next(int timeoutMs) {
        if (held_ < filled_) return static_cast<unsigned char>(buffer_[held_++]);
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0) return -1;
        const ssize_t n = read(fd, buffer_, sizeof buffer_);
        if (n <= 0) return -1;
        in += long(n);
        filled_ = size_t(n);
        held_ = 1;
        return static_cast<unsigned char>(buffer_[0]);
    }

  private:
    char buffer_[512];
    size_t filled_ = 0, held_ = 0;
};

// One read: false when an acknowledgment or the reply does not come in time.
bool readOnce(Line& line, const std::string& command, int replyLength) {
    constexpr int kWaitMs = 5000;
    const std::string framed = "D" + command;
    for (char c : framed) {
        if (!line.send(&c, 1)) return false;
        int b;
        do b = line.next(kWaitMs);
        while (b >= 0 && b != 'T');
        if (b < 0) return false;
    }
    if (!line.send("1P", 2)) return false;
    int got = 0;
    while (got < replyLength) {
        const int b = line.next(kWaitMs);
        if (b < 0) return false;
        if (got == 0 && b != '0') continue;  // the reply opens with "0"
        ++got;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 6) {
        fprintf(stderr, "usage: %s PORT COMMAND REPLY_LENGTH READS GAP_MS\n", argv[0]);
        return 2;
    }
    const std::string command = argv[2];
    const int replyLength = atoi(argv[3]);
    const int reads = atoi(argv[4]);
    const int gapMs = atoi(argv[5]);

    Line line;
    line.fd = open(argv[1], O_RDWR | O_NOCTTY);
    if (line.fd < 0) {
        fprintf(stderr, "morla_bareclient: %s: %s\n", argv[1], strerror(errno));
        return 1;
    }
    termios t{};
    tcgetattr(line.fd, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    tcsetattr(line.fd, TCSANOW, &t);
    tcflush(line.fd, TCIOFLUSH);

    int failed = 0;
    for (int i = 1; i <= reads; ++i) {
        line.out = line.in = 0;
        const double wall0 = clockSeconds(CLOCK_MONOTONIC);
        const double cpu0 = clockSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const bool ok = readOnce(line, command, replyLength);
        const double cpu = clockSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
        const double wall = clockSeconds(CLOCK_MONOTONIC) - wall0;
        printf("read %d %.6f %.6f %ld %ld %d\n", i, wall, cpu, line.out, line.in, ok ? 1 : 0);
        if (!ok) ++failed;
        const timespec gap{gapMs / 1000, long(gapMs % 1000) * 1000000L};
        nanosleep(&gap, nullptr);
    }
    close(line.fd);
    return failed ? 1 : 0;
}
