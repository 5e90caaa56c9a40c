#include "tests/host/board_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

namespace vext::test {

int runInChild(const std::function<bool()>& body, const std::function<void()>& whileChildHolds) {
    int toParent[2];
    int toChild[2];
    if (pipe(toParent) != 0 || pipe(toChild) != 0) {
        return -1;
    }
    pid_t pid = fork();
    if (pid == 0) {
        close(toParent[0]);
        close(toChild[1]);
        resetSharedBlockForTesting();
        bool ok = body();
        char c = ok ? 'y' : 'n';
        (void)!write(toParent[1], &c, 1);
        (void)!read(toChild[0], &c, 1);
        _exit(ok ? 0 : 1);
    }
    close(toParent[1]);
    close(toChild[0]);
    char c = 0;
    (void)!read(toParent[0], &c, 1);
    if (whileChildHolds) {
        whileChildHolds();
    }
    (void)!write(toChild[1], &c, 1);
    close(toParent[0]);
    close(toChild[1]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vext::test
