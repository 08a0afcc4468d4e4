// A prompter for tests: records every popup (kind, title, text) and answers Yes/No questions
// from a queue (Yes when it is empty); prompts and file pickers are cancelled.
#pragma once

#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/ui.h"

namespace testsupport {

struct Popup {
    std::string kind, title, text;
    bool operator==(const Popup&) const = default;
};
// How a test failure prints a popup: its kind, title and text.
inline void PrintTo(const Popup& p, std::ostream* os) { *os << p.kind << " \"" << p.title << "\" \"" << p.text << '"'; }

// The popup of a single register write ("R33") that the board refused while it stayed connected,
// as the user reads it.
inline Popup RefusedWriteWarning(const std::string& reg) {
    return {"message", "Warning",
            "The evaluation board refused the write of " + reg + ", so it did not take effect.\n\n"
            "The panels show what the chip holds."};
}

// Records every popup; Yes/No questions are answered from a queue (Yes when it is empty).
class RecordingPrompter : public rt::Prompter {
public:
    std::vector<Popup> shown;
    std::deque<bool> yesNoAnswers;

    void Message(const std::string& title, const std::string& text) override {
        shown.push_back({"message", title, text});
    }
    bool YesNo(const std::string& title, const std::string& text) override {
        shown.push_back({"yesno", title, text});
        if (yesNoAnswers.empty()) return true;
        bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    bool Prompt(const std::string& title, const std::string& text, std::string*) override {
        shown.push_back({"prompt", title, text});
        return false;
    }
    int FileSelect(const std::string&, const std::string&, const std::string&, const std::string& title, int,
                   std::string*) override {
        shown.push_back({"file", title, ""});
        return rt::VAL_NO_FILE_SELECTED;
    }
    bool DirSelect(const std::string&, const std::string& title, std::string*) override {
        shown.push_back({"dir", title, ""});
        return false;
    }
};

}  // namespace testsupport
