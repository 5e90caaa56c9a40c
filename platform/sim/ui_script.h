// The simulated user in front of the simulated screen.
//
// "answers.txt" in the simulation root holds the user's answers, one word each ("ok", "cancel",
// "yes", "no"), separated by blanks or lines; "#" starts a comment. Each dialog or message box
// that waits for the user takes the first word when it is one of that window's answers, and
// removes it from the file; a word that fits no button there stays for the next window.
// "screen.log" in the root gets one line for everything shown and every answer taken, texts in
// UTF-8.
#pragma once

#include <initializer_list>
#include <string>

namespace vext::sim {

// The next answer, in lower case, when it is one of fitting (taken from the script); empty when
// the script has none left or its next word is not one of them (left in the script).
std::string takeAnswer(std::initializer_list<const char*> fitting);
// Appends answers to the script.
bool addAnswers(const std::string& words);

// Appends one line to the screen log.
void logScreen(const std::string& line);
// Text of the system's code page (Shift-JIS) as UTF-8, for the log; the bytes themselves when
// they do not convert.
std::string toUtf8(const char* text);

}  // namespace vext::sim
