// A small test harness for the Win32 integration tests. The toolchain's win32 threading variant
// cannot build GoogleTest, so these programs use this instead: the same TEST/EXPECT/ASSERT names,
// one process per program, a "N passed, N failed" line at the end and a non-zero exit on failure.
#pragma once

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace wintest {

struct Case {
    const char* suite;
    const char* name;
    void (*run)();
};

inline std::vector<Case>& registry() {
    static std::vector<Case> cases;
    return cases;
}

inline bool& currentFailed() {
    static bool failed = false;
    return failed;
}

struct Registrar {
    Registrar(const char* suite, const char* name, void (*run)()) {
        registry().push_back({suite, name, run});
    }
};

template <typename T>
std::string show(const T& value) {
    std::ostringstream out;
    if constexpr (std::is_pointer_v<T>) {
        out << static_cast<const void*>(value);
    } else if constexpr (std::is_same_v<T, unsigned char> || std::is_same_v<T, signed char>) {
        out << static_cast<int>(value);
    } else {
        out << value;
    }
    return out.str();
}

inline void fail(const char* file, int line, const std::string& what) {
    std::printf("%s:%d: Failure\n  %s\n", file, line, what.c_str());
    currentFailed() = true;
}

template <typename A, typename B>
bool checkEq(const A& a, const B& b, const char* ea, const char* eb, const char* file, int line) {
    if (a == b) {
        return true;
    }
    fail(file, line,
         std::string(ea) + " == " + eb + "\n  left: " + show(a) + "\n  right: " + show(b));
    return false;
}

template <typename A, typename B>
bool checkNe(const A& a, const B& b, const char* ea, const char* eb, const char* file, int line) {
    if (!(a == b)) {
        return true;
    }
    fail(file, line, std::string(ea) + " != " + eb + "\n  both: " + show(a));
    return false;
}

inline bool checkTrue(bool v, bool expected, const char* e, const char* file, int line) {
    if (v == expected) {
        return true;
    }
    fail(file, line, std::string(expected ? "true: " : "false: ") + e);
    return false;
}

inline int runAll() {
    int passed = 0;
    int failed = 0;
    for (const Case& c : registry()) {
        std::printf("[ RUN      ] %s.%s\n", c.suite, c.name);
        std::fflush(stdout);
        currentFailed() = false;
        c.run();
        if (currentFailed()) {
            ++failed;
            std::printf("[  FAILED  ] %s.%s\n", c.suite, c.name);
        } else {
            ++passed;
            std::printf("[       OK ] %s.%s\n", c.suite, c.name);
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}

}  // namespace wintest

#define TEST(suite, name)                                                                      \
    static void suite##_##name();                                                              \
    static const wintest::Registrar suite##_##name##_registrar(#suite, #name, suite##_##name); \
    static void suite##_##name()

#define EXPECT_EQ(a, b) wintest::checkEq((a), (b), #a, #b, __FILE__, __LINE__)
#define EXPECT_NE(a, b) wintest::checkNe((a), (b), #a, #b, __FILE__, __LINE__)
#define EXPECT_TRUE(v) wintest::checkTrue(static_cast<bool>(v), true, #v, __FILE__, __LINE__)
#define EXPECT_FALSE(v) wintest::checkTrue(static_cast<bool>(v), false, #v, __FILE__, __LINE__)
#define EXPECT_STREQ(a, b) EXPECT_EQ(std::string(a), std::string(b))
#define ASSERT_EQ(a, b)   \
    if (!EXPECT_EQ(a, b)) \
    return
#define ASSERT_NE(a, b)   \
    if (!EXPECT_NE(a, b)) \
    return
#define ASSERT_TRUE(v)   \
    if (!EXPECT_TRUE(v)) \
    return
#define ASSERT_FALSE(v)   \
    if (!EXPECT_FALSE(v)) \
    return

// Binds an export by name; the cast goes through void* as GetProcAddress's type says nothing.
template <typename F>
F bindExport(void* proc) {
    F f;
    std::memcpy(&f, &proc, sizeof f);
    return f;
}
