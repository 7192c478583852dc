#include "platform/ScriptedPrompter.h"

#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>

namespace px {
namespace {

using Kind = ScriptedPrompter::CallKind;

TEST(ScriptedPrompter, AnswersInQueueOrderThenCancels)
{
    ScriptedPrompter p;
    p.queueAnswer(Answer::No);
    p.queueAnswer(Answer::Yes);
    p.queueAnswer(Answer::Ok);
    EXPECT_EQ(p.ask("Enregistrer ?", "Image", Buttons::YesNoCancel), Answer::No);
    p.message("Fini");
    EXPECT_EQ(p.ask("Encore ?", "", Buttons::YesNo), Answer::Yes);
    EXPECT_THROW(p.ask("Ok ?", "", Buttons::YesNo), std::logic_error); // a script error: no Ok button
    EXPECT_EQ(p.ask("Et encore ?", "", Buttons::OkCancel), Answer::Cancel);
    EXPECT_EQ(p.pending(), 0u);

    ASSERT_EQ(p.calls().size(), 5u);
    EXPECT_EQ(p.calls()[0].caption, "Image");
    EXPECT_EQ(p.calls()[0].buttons, Buttons::YesNoCancel);
    EXPECT_TRUE(p.calls()[2].answered);
    EXPECT_FALSE(p.calls()[4].answered);
    EXPECT_EQ(p.texts(), (std::vector<std::string>{"Enregistrer ?", "Fini", "Encore ?", "Ok ?", "Et encore ?"}));
    EXPECT_EQ(p.callsOf(Kind::Message).size(), 1u);
}

// Every answer against every set of buttons: O(k), C(ancel), Y(es), N(o).
TEST(ScriptedPrompter, AnswerMustBeOneOfTheButtons)
{
    const std::pair<Buttons, const char*> allowed[] = {
        {Buttons::Ok, "O"}, {Buttons::OkCancel, "OC"}, {Buttons::YesNo, "YN"}, {Buttons::YesNoCancel, "YNC"}};
    const std::pair<Answer, char> answers[] = {
        {Answer::Ok, 'O'}, {Answer::Cancel, 'C'}, {Answer::Yes, 'Y'}, {Answer::No, 'N'}};
    for (const auto& [buttons, letters] : allowed)
        for (const auto& [answer, letter] : answers)
            EXPECT_EQ(answerFitsButtons(answer, buttons), std::strchr(letters, letter) != nullptr)
                << letter << " with " << letters;
}

// Each kind of choice has its own queue; a scripted cancel takes its turn and
// an empty queue cancels too.
TEST(ScriptedPrompter, FileColourAndFontChoicesComeFromTheirOwnQueues)
{
    ScriptedPrompter p;
    p.queueFile("/tmp/chat.png", 3);
    p.queueFileCancel();
    p.queueFile("/tmp/b.bmp");
    p.queueColour(makeColour(1, 2, 3));
    FileDialogRequest req;
    req.filter = "Bitmap|*.bmp|PNG|*.png";
    const auto first = p.saveFileName(req);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->path, "/tmp/chat.png");
    EXPECT_EQ(first->filterIndex, 3);
    EXPECT_FALSE(p.openFileName(req));
    EXPECT_EQ(p.openFileName(req).value().path, "/tmp/b.bmp");
    EXPECT_FALSE(p.openFileName(req));
    EXPECT_EQ(p.chooseColour(kWhite), makeColour(1, 2, 3));
    EXPECT_FALSE(p.chooseColour(kWhite));
    EXPECT_FALSE(p.chooseFont(FontSpec{}));

    EXPECT_EQ(p.callsOf(Kind::SaveFile).at(0).fileRequest.filter, req.filter);
    EXPECT_EQ(p.callsOf(Kind::OpenFile).size(), 3u);
    EXPECT_EQ(p.callsOf(Kind::ChooseColour).at(0).initialColour, kWhite);
    EXPECT_EQ(p.last().kind, Kind::ChooseFont);
}

} // namespace
} // namespace px
