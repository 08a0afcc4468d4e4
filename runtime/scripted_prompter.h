// A prompter for tests: answers popups from queues and records every popup shown, so no test
// waits on a dialog. Unanswered questions get Yes (Yes/No, OK/Cancel) or Cancel (prompts and
// pickers).
//
//   rt::ScriptedPrompter prompter;
//   rt::SetPrompter(&prompter);
//   prompter.QueueYesNo(false);
//   ... code under test ...
//   EXPECT_EQ(prompter.Shown().back().title, "Delete configuration");
//   rt::SetPrompter(nullptr);
#pragma once

#include "runtime/ui.h"

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace rt {

class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, YesNo, OkCancel, Prompt, FileSelect, DirSelect };

    struct Popup {
        Kind kind;
        std::string title;
        std::string text;    // the message; for pickers the filter (files) or start folder
        std::string answer;  // "yes"/"no", "ok"/"cancel", the text or path given, or "cancel"
        std::string held;    // prompts: the text the dialog held when it opened
    };

    void QueueYesNo(bool yes) { yesNo_.push_back(yes); }
    void QueueOkCancel(bool ok) { okCancel_.push_back(ok); }
    void QueuePrompt(const std::string& text) { prompts_.emplace_back(text); }
    void QueuePromptCancel() { prompts_.emplace_back(std::nullopt); }
    // A chosen file: the result is VAL_EXISTING_FILE_SELECTED when it exists, else
    // VAL_NEW_FILE_SELECTED, as the real picker reports.
    void QueueFile(const std::string& path) { files_.emplace_back(path); }
    void QueueFileCancel() { files_.emplace_back(std::nullopt); }
    void QueueDir(const std::string& dir) { dirs_.emplace_back(dir); }
    void QueueDirCancel() { dirs_.emplace_back(std::nullopt); }

    const std::vector<Popup>& Shown() const { return shown_; }
    void Clear() {
        shown_.clear();
        yesNo_.clear();
        okCancel_.clear();
        prompts_.clear();
        files_.clear();
        dirs_.clear();
    }

    void Message(const std::string& title, const std::string& text) override {
        shown_.push_back({Kind::Message, title, text, "", ""});
    }

    bool YesNo(const std::string& title, const std::string& text) override {
        bool yes = Take(yesNo_, true);
        shown_.push_back({Kind::YesNo, title, text, yes ? "yes" : "no", ""});
        return yes;
    }

    bool OkCancel(const std::string& title, const std::string& text) override {
        bool ok = Take(okCancel_, true);
        shown_.push_back({Kind::OkCancel, title, text, ok ? "ok" : "cancel", ""});
        return ok;
    }

    bool Prompt(const std::string& title, const std::string& text, std::string* answer) override {
        std::optional<std::string> a = Take(prompts_, std::optional<std::string>());
        shown_.push_back({Kind::Prompt, title, text, a ? *a : "cancel", answer ? *answer : ""});
        if (a && answer) *answer = *a;
        return a.has_value();
    }

    int FileSelect(const std::string& defaultDir, const std::string& defaultFile, const std::string& filter,
                   const std::string& title, int buttonKind, std::string* path) override {
        (void)defaultDir;
        (void)defaultFile;
        (void)buttonKind;
        std::optional<std::string> a = Take(files_, std::optional<std::string>());
        shown_.push_back({Kind::FileSelect, title, filter, a ? *a : "cancel", ""});
        if (!a) return VAL_NO_FILE_SELECTED;
        if (path) *path = *a;
        return FileExists(*a) ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED;
    }

    bool DirSelect(const std::string& defaultDir, const std::string& title, std::string* dir) override {
        std::optional<std::string> a = Take(dirs_, std::optional<std::string>());
        shown_.push_back({Kind::DirSelect, title, defaultDir, a ? *a : "cancel", ""});
        if (a && dir) *dir = *a;
        return a.has_value();
    }

private:
    template <typename T>
    static T Take(std::deque<T>& q, T fallback) {
        if (q.empty()) return fallback;
        T v = q.front();
        q.pop_front();
        return v;
    }

    std::vector<Popup> shown_;
    std::deque<bool> yesNo_;
    std::deque<bool> okCancel_;
    std::deque<std::optional<std::string>> prompts_;
    std::deque<std::optional<std::string>> files_;
    std::deque<std::optional<std::string>> dirs_;
};

// How a test failure prints a popup: its title and text as the user reads them.
inline void PrintTo(const ScriptedPrompter::Popup& p, std::ostream* os) { *os << '"' << p.title << "\" \"" << p.text << '"'; }

}  // namespace rt
