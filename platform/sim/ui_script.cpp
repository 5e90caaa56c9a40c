#include "platform/sim/ui_script.h"

#include <iconv.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/sim/simroot.h"

namespace vext::sim {

namespace {

constexpr const char* kAnswersFile = "answers.txt";
constexpr const char* kScreenLog = "screen.log";
constexpr const char* kLock = "answers.lock";

}  // namespace

std::string takeAnswer(std::initializer_list<const char*> fitting) {
    RootFileLock lock(kLock);
    std::string text;
    if (!readWholeFile(simPath(kAnswersFile), &text)) {
        return "";
    }
    std::istringstream lines(text);
    std::string line;
    std::string answer;
    std::string rest;
    while (std::getline(lines, line)) {
        if (answer.empty()) {
            std::string words = line.substr(0, line.find('#'));
            std::istringstream in(words);
            if (in >> answer) {
                std::string remaining;
                std::getline(in, remaining);
                rest += remaining + "\n";
                continue;
            }
        }
        rest += line + "\n";
    }
    for (char& c : answer) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const char* word : fitting) {
        if (answer == word) {
            replaceFileAtomically(simPath(kAnswersFile), rest);
            return answer;
        }
    }
    return "";
}

bool addAnswers(const std::string& words) {
    RootFileLock lock(kLock);
    std::string text;
    readWholeFile(simPath(kAnswersFile), &text);
    return replaceFileAtomically(simPath(kAnswersFile), text + words + "\n");
}

void logScreen(const std::string& line) {
    std::ofstream log(simPath(kScreenLog), std::ios::app);
    log << line << "\n";
}

std::string toUtf8(const char* text) {
    std::string input = text;
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return input;
    }
    std::vector<char> output(input.size() * 3 + 1);
    char* in = input.data();
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) {
        return input;
    }
    return std::string(output.data(), output.size() - outLeft);
}

}  // namespace vext::sim
