#pragma once
// A prompter for tests: it answers from queues that the test fills before the
// command runs and records every call, so a test can check what the user
// would have been asked and in which words.
//
// An empty queue answers as a user who dismisses the dialog: Cancel for a
// question, no file, no colour, no font. A queued answer that is not one of
// the buttons of the question (Yes for an OK box) raises std::logic_error,
// because it means the command asked a different question than the test
// expected.
#include "platform/Prompter.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace px {

class ScriptedPrompter : public Prompter {
public:
    enum class CallKind { Ask, Message, OpenFile, SaveFile, ChooseColour, ChooseFont };

    struct Call {
        CallKind kind = CallKind::Message;
        std::string text;              // ask / message
        std::string caption;           // ask / message
        Buttons buttons = Buttons::Ok; // ask (Ok for a message)
        MessageKind messageKind = MessageKind::Information;
        FileDialogRequest fileRequest; // open / save
        Colour initialColour = kBlack; // chooseColour
        FontSpec initialFont;          // chooseFont
        bool answered = false;         // false when an empty queue gave the default
    };

    // Queue the next answers. A nullopt file, colour or font stands for the
    // user cancelling that dialog.
    void queueAnswer(Answer a) { answers_.push_back(a); }
    void queueFile(std::string path, int filterIndex = 1);
    void queueFileCancel() { files_.push_back(std::nullopt); }
    void queueColour(std::optional<Colour> c) { colours_.push_back(c); }
    void queueFont(std::optional<FontSpec> f) { fonts_.push_back(std::move(f)); }

    // Answers and choices still queued: a test that expects every scripted
    // answer to be used checks that this is 0 at the end.
    std::size_t pending() const { return answers_.size() + files_.size() + colours_.size() + fonts_.size(); }

    const std::vector<Call>& calls() const { return calls_; }
    // The calls of one kind, in order.
    std::vector<Call> callsOf(CallKind kind) const;
    // The texts of every ask() and message() call, in order.
    std::vector<std::string> texts() const;
    // The last call; throws std::logic_error when nothing was asked.
    const Call& last() const;
    void clearCalls() { calls_.clear(); }

    Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
               MessageKind kind = MessageKind::Confirmation) override;
    void message(const std::string& text, const std::string& caption = std::string(),
                 MessageKind kind = MessageKind::Information) override;
    std::optional<FileChoice> openFileName(const FileDialogRequest& request) override;
    std::optional<FileChoice> saveFileName(const FileDialogRequest& request) override;
    std::optional<Colour> chooseColour(Colour initial) override;
    std::optional<FontSpec> chooseFont(const FontSpec& initial) override;

private:
    std::optional<FileChoice> nextFile(CallKind kind, const FileDialogRequest& request);

    std::deque<Answer> answers_;
    std::deque<std::optional<FileChoice>> files_;
    std::deque<std::optional<Colour>> colours_;
    std::deque<std::optional<FontSpec>> fonts_;
    std::vector<Call> calls_;
};

// Whether `answer` is one of the buttons of a message box with `buttons`.
bool answerFitsButtons(Answer answer, Buttons buttons);

} // namespace px
