#include "tests/win/wintest.h"

int main() {
    return wintest::runAll();
}
