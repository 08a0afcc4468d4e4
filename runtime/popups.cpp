// Popups through one prompter: real Qt dialogs unless a test installed its own.
#include "runtime/rt_internal.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>

#include <cstdio>

namespace rt {

using namespace detail;

namespace {

QWidget* DialogParent() {
    QWidget* w = QApplication::activeWindow();
    return w && w->isVisible() ? w : nullptr;
}

// "*.dat;*.txt" -> "Files (*.dat *.txt);;All files (*)".
QString NameFilters(const std::string& filter) {
    QString f = Q(filter).trimmed();
    if (f.isEmpty() || f == "*" || f == "*.*") return "All files (*)";
    QStringList patterns = f.split(QRegularExpression("[;,\\s]+"), Qt::SkipEmptyParts);
    return "Files (" + patterns.join(' ') + ");;All files (*)";
}

// With no screen to show a dialog on (the offscreen platform) nobody could answer it and the
// program would wait for ever: the popup is written to stderr and answered No / Cancel.
bool Headless(const char* kind, const std::string& title, const std::string& text) {
    if (!EnsureApp()) return true;
    if (QGuiApplication::platformName() != "offscreen") return false;
    bool question = std::string(kind) != "message";
    std::fprintf(stderr, "codecbench: %s popup without a screen%s: \"%s\": %s\n", kind,
                 question ? " (answered No / Cancel)" : "", title.c_str(), text.c_str());
    return true;
}

class DialogPrompter : public Prompter {
    static bool Ask(const std::string& title, const std::string& text, QMessageBox::StandardButton byDefault) {
        if (Headless("yes/no", title, text)) return false;
        QMessageBox box(QMessageBox::Question, Q(title), Q(text), QMessageBox::Yes | QMessageBox::No, DialogParent());
        box.setDefaultButton(byDefault);
        return box.exec() == QMessageBox::Yes;
    }

public:
    void Message(const std::string& title, const std::string& text) override {
        if (Headless("message", title, text)) return;
        QMessageBox box(QMessageBox::Information, Q(title), Q(text), QMessageBox::Ok, DialogParent());
        box.exec();
    }

    bool YesNo(const std::string& title, const std::string& text) override { return Ask(title, text, QMessageBox::Yes); }
    bool YesNoDefaultNo(const std::string& title, const std::string& text) override {
        return Ask(title, text, QMessageBox::No);
    }

    bool OkCancel(const std::string& title, const std::string& text) override {
        if (Headless("ok/cancel", title, text)) return false;
        QMessageBox box(QMessageBox::Question, Q(title), Q(text), QMessageBox::Ok | QMessageBox::Cancel, DialogParent());
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok;
    }

    bool Prompt(const std::string& title, const std::string& text, std::string* answer) override {
        if (Headless("prompt", title, text)) return false;
        QInputDialog dlg(DialogParent());
        dlg.setWindowTitle(Q(title));
        dlg.setLabelText(Q(text));
        dlg.setInputMode(QInputDialog::TextInput);
        dlg.setTextValue(answer ? Q(*answer) : QString());
        if (dlg.exec() != QDialog::Accepted) return false;
        if (answer) *answer = S(dlg.textValue());
        return true;
    }

    int FileSelect(const std::string& defaultDir, const std::string& defaultFile, const std::string& filter,
                   const std::string& title, int buttonKind, std::string* path) override {
        if (Headless("file", title, filter)) return VAL_NO_FILE_SELECTED;
        QFileDialog dlg(DialogParent(), Q(title), Q(defaultDir.empty() ? QDir::currentPath().toStdString() : defaultDir));
        dlg.setNameFilter(NameFilters(filter));
        bool save = buttonKind == VAL_SAVE_BUTTON;
        dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, true);  // the caller says what an existing file means
        // A single pattern such as "*.dat" also names the extension a typed name gets.
        QString f = Q(filter).trimmed();
        if (f.startsWith("*.") && !f.contains(';') && !f.contains(' ') && f.size() > 2 && !f.endsWith("*"))
            dlg.setDefaultSuffix(f.mid(2));
        if (!defaultFile.empty() && defaultFile.find('*') == std::string::npos) dlg.selectFile(Q(defaultFile));
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return VAL_NO_FILE_SELECTED;
        std::string chosen = S(dlg.selectedFiles().first());
        if (path) *path = chosen;
        return QFileInfo::exists(Q(chosen)) ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED;
    }

    bool DirSelect(const std::string& defaultDir, const std::string& title, std::string* dir) override {
        if (Headless("folder", title, defaultDir)) return false;
        QString chosen = QFileDialog::getExistingDirectory(DialogParent(), Q(title), Q(defaultDir));
        if (chosen.isEmpty()) return false;
        if (dir) *dir = S(chosen);
        return true;
    }
};

DialogPrompter& Dialogs() {
    static DialogPrompter dialogs;
    return dialogs;
}

Prompter*& Installed() {
    static Prompter* installed = nullptr;
    return installed;
}

Prompter& Current() {
    Prompter* p = Installed();
    return p ? *p : Dialogs();
}

std::string Str(const char* s) { return s ? s : ""; }

}  // namespace

Prompter* SetPrompter(Prompter* p) {
    Prompter* previous = Installed();
    Installed() = p;
    return previous;
}

void MessagePopup(const char* title, const char* text) { Current().Message(Str(title), Str(text)); }

int ConfirmPopup(const char* title, const char* text) { return Current().YesNo(Str(title), Str(text)) ? 1 : 0; }
int ConfirmDestructivePopup(const char* title, const char* text) {
    return Current().YesNoDefaultNo(Str(title), Str(text)) ? 1 : 0;
}

int GenericMessagePopup(const char* title, const char* text, int buttons) {
    if (buttons == VAL_OK_CANCEL_DIALOG)
        return Current().OkCancel(Str(title), Str(text)) ? VAL_GENERIC_POPUP_BTN1 : VAL_GENERIC_POPUP_BTN2;
    Current().Message(Str(title), Str(text));
    return VAL_GENERIC_POPUP_BTN1;
}

int PromptPopup(const char* title, const char* text, std::string* answer, int maxLen) {
    std::string reply = answer ? *answer : std::string();  // the dialog opens holding it
    if (!Current().Prompt(Str(title), Str(text), &reply)) return -1;
    if (maxLen >= 0 && reply.size() > static_cast<size_t>(maxLen)) reply.resize(static_cast<size_t>(maxLen));
    if (answer) *answer = reply;
    return 0;
}

int FileSelectPopup(const char* defaultDir, const char* defaultFile, const char* filter, const char* title,
                    int buttonKind, std::string* path) {
    std::string chosen;
    int result = Current().FileSelect(Str(defaultDir), Str(defaultFile), Str(filter), Str(title), buttonKind, &chosen);
    if (result != VAL_NO_FILE_SELECTED && path) *path = chosen;
    return result;
}

int DirSelectPopup(const char* defaultDir, const char* title, std::string* dir) {
    std::string chosen;
    if (!Current().DirSelect(Str(defaultDir), Str(title), &chosen)) return VAL_NO_DIRECTORY_SELECTED;
    if (dir) *dir = chosen;
    return VAL_DIRECTORY_SELECTED;
}

}  // namespace rt
