#include "child_process.h"

#include "app_error.h"

#include <cerrno>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

bool runningAsRoot() { return geteuid() == 0; }

std::string inChild(const std::function<std::string()> &work) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return "ended: no pipe";
    const pid_t child = fork();
    if (child < 0) return "ended: no fork";
    if (child == 0) {
        close(pipeEnds[0]);
        std::string answer;
        try {
            answer = work();
        } catch (const AppError &error) {
            answer = "error " + std::to_string(error.number);
        } catch (...) {
            answer = "ended: another exception";
        }
        const ssize_t written = ::write(pipeEnds[1], answer.data(), answer.size());
        _exit(written == static_cast<ssize_t>(answer.size()) ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string answer;
    char block[256];
    for (ssize_t got; (got = read(pipeEnds[0], block, sizeof block)) != 0;) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        answer.append(block, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "ended: status " + std::to_string(status);
    return answer;
}

bool becomeNobody() {
    return setgroups(0, nullptr) == 0 && setgid(nobodyUser) == 0 && setuid(nobodyUser) == 0;
}

std::string mountSmallDisk(const std::string &folder, const std::string &size) {
    if (unshare(CLONE_NEWNS) != 0)
        return "no mount namespace of its own (errno " + std::to_string(errno) + ")";
    // Mounts made here must not reach the namespace the child came from.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + size).c_str()) != 0)
        return "cannot mount a tmpfs (errno " + std::to_string(errno) + ")";
    return "";
}
