#include "platform/ScriptedPrompter.h"

#include <stdexcept>

namespace px {

namespace {

const char* answerName(Answer a)
{
    switch (a) {
    case Answer::Ok:
        return "Ok";
    case Answer::Cancel:
        return "Cancel";
    case Answer::Yes:
        return "Yes";
    case Answer::No:
        return "No";
    }
    return "?";
}

} // namespace

bool answerFitsButtons(Answer answer, Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return answer == Answer::Ok;
    case Buttons::OkCancel:
        return answer == Answer::Ok || answer == Answer::Cancel;
    case Buttons::YesNo:
        return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesNoCancel:
        return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
    }
    return false;
}

void ScriptedPrompter::queueFile(std::string path, int filterIndex)
{
    files_.push_back(FileChoice{std::move(path), filterIndex});
}

std::vector<ScriptedPrompter::Call> ScriptedPrompter::callsOf(CallKind kind) const
{
    std::vector<Call> out;
    for (const Call& c : calls_)
        if (c.kind == kind)
            out.push_back(c);
    return out;
}

std::vector<std::string> ScriptedPrompter::texts() const
{
    std::vector<std::string> out;
    for (const Call& c : calls_)
        if (c.kind == CallKind::Ask || c.kind == CallKind::Message)
            out.push_back(c.text);
    return out;
}

const ScriptedPrompter::Call& ScriptedPrompter::last() const
{
    if (calls_.empty())
        throw std::logic_error("ScriptedPrompter: nothing was asked");
    return calls_.back();
}

Answer ScriptedPrompter::ask(const std::string& text, const std::string& caption, Buttons buttons, MessageKind kind)
{
    Call call;
    call.kind = CallKind::Ask;
    call.text = text;
    call.caption = caption;
    call.buttons = buttons;
    call.messageKind = kind;
    Answer answer = Answer::Cancel;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
        call.answered = true;
    }
    calls_.push_back(call);
    if (call.answered && !answerFitsButtons(answer, buttons))
        throw std::logic_error(std::string("ScriptedPrompter: answer ") + answerName(answer) +
                               " does not fit the buttons of \"" + text + "\"");
    return answer;
}

void ScriptedPrompter::message(const std::string& text, const std::string& caption, MessageKind kind)
{
    Call call;
    call.kind = CallKind::Message;
    call.text = text;
    call.caption = caption;
    call.messageKind = kind;
    call.answered = true;
    calls_.push_back(call);
}

std::optional<FileChoice> ScriptedPrompter::nextFile(CallKind kind, const FileDialogRequest& request)
{
    Call call;
    call.kind = kind;
    call.caption = request.title;
    call.fileRequest = request;
    std::optional<FileChoice> choice;
    if (!files_.empty()) {
        choice = files_.front();
        files_.pop_front();
        call.answered = true;
    }
    calls_.push_back(call);
    return choice;
}

std::optional<FileChoice> ScriptedPrompter::openFileName(const FileDialogRequest& request)
{
    return nextFile(CallKind::OpenFile, request);
}

std::optional<FileChoice> ScriptedPrompter::saveFileName(const FileDialogRequest& request)
{
    return nextFile(CallKind::SaveFile, request);
}

std::optional<Colour> ScriptedPrompter::chooseColour(Colour initial)
{
    Call call;
    call.kind = CallKind::ChooseColour;
    call.initialColour = initial;
    std::optional<Colour> choice;
    if (!colours_.empty()) {
        choice = colours_.front();
        colours_.pop_front();
        call.answered = true;
    }
    calls_.push_back(call);
    return choice;
}

std::optional<FontSpec> ScriptedPrompter::chooseFont(const FontSpec& initial)
{
    Call call;
    call.kind = CallKind::ChooseFont;
    call.initialFont = initial;
    std::optional<FontSpec> choice;
    if (!fonts_.empty()) {
        choice = fonts_.front();
        fonts_.pop_front();
        call.answered = true;
    }
    calls_.push_back(call);
    return choice;
}

} // namespace px
