#include "platform/ScriptedPrompter.h"

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
    EXPECT_EQ(p.ask("Enregistrer ?", "Image", Buttons::YesNoCancel), Answer::No);
    p.message("Fini");
    EXPECT_EQ(p.ask("Encore ?", "", Buttons::YesNo), Answer::Yes);
    EXPECT_EQ(p.ask("Et encore ?", "", Buttons::OkCancel), Answer::Cancel);
    EXPECT_EQ(p.pending(), 0u);

    ASSERT_EQ(p.calls().size(), 4u);
    EXPECT_EQ(p.calls()[0].caption, "Image");
    EXPECT_EQ(p.calls()[0].buttons, Buttons::YesNoCancel);
    EXPECT_TRUE(p.calls()[2].answered);
    EXPECT_FALSE(p.calls()[3].answered);
    EXPECT_EQ(p.texts(), (std::vector<std::string>{"Enregistrer ?", "Fini", "Encore ?", "Et encore ?"}));
    EXPECT_EQ(p.callsOf(Kind::Message).size(), 1u);
}

struct FitCase {
    Answer answer;
    Buttons buttons;
    bool fits;
};

class AnswerFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(AnswerFit, AnswerOutsideTheButtonsIsAScriptError)
{
    const FitCase c = GetParam();
    ScriptedPrompter p;
    p.queueAnswer(c.answer);
    if (c.fits)
        EXPECT_EQ(p.ask("?", "", c.buttons), c.answer);
    else
        EXPECT_THROW(p.ask("?", "", c.buttons), std::logic_error);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, AnswerFit,
    ::testing::Values(FitCase{Answer::Ok, Buttons::Ok, true}, FitCase{Answer::Cancel, Buttons::Ok, false},
                      FitCase{Answer::Yes, Buttons::OkCancel, false}, FitCase{Answer::Cancel, Buttons::OkCancel, true},
                      FitCase{Answer::Cancel, Buttons::YesNo, false}, FitCase{Answer::Ok, Buttons::YesNo, false},
                      FitCase{Answer::No, Buttons::YesNo, true}, FitCase{Answer::Cancel, Buttons::YesNoCancel, true},
                      FitCase{Answer::Ok, Buttons::YesNoCancel, false}));

TEST(ScriptedPrompter, FileColourAndFontChoicesComeFromTheirOwnQueues)
{
    ScriptedPrompter p;
    p.queueFile("/tmp/chat.png", 3);
    p.queueFileCancel();
    p.queueColour(makeColour(1, 2, 3));
    FontSpec arial;
    arial.family = "Arial";
    p.queueFont(arial);

    FileDialogRequest req;
    req.title = "Ouvrir";
    req.filter = "Bitmap|*.bmp|PNG|*.png";
    const auto first = p.saveFileName(req);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->path, "/tmp/chat.png");
    EXPECT_EQ(first->filterIndex, 3);
    EXPECT_FALSE(p.openFileName(req));
    EXPECT_FALSE(p.openFileName(req)); // queue empty: cancelled too
    EXPECT_EQ(p.chooseColour(kWhite), makeColour(1, 2, 3));
    EXPECT_FALSE(p.chooseColour(kWhite));
    EXPECT_EQ(p.chooseFont(FontSpec{})->family, "Arial");
    EXPECT_FALSE(p.chooseFont(FontSpec{}));

    ASSERT_EQ(p.callsOf(Kind::SaveFile).size(), 1u);
    EXPECT_EQ(p.callsOf(Kind::SaveFile)[0].fileRequest.filter, "Bitmap|*.bmp|PNG|*.png");
    EXPECT_EQ(p.callsOf(Kind::OpenFile).size(), 2u);
    EXPECT_EQ(p.callsOf(Kind::ChooseColour)[0].initialColour, kWhite);
    EXPECT_EQ(p.last().kind, Kind::ChooseFont);
}

} // namespace
} // namespace px
