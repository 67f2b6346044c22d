// SPDX-License-Identifier: MIT
// The user-interface hook: nesting waiting scopes, the console hook's transcript and the
// strictness of the test recorder.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "platform/UserInterface.h"
#include "support/TestSupport.h"

namespace ps {
namespace {

TEST(WaitingScope, NestsAndReleasesOnEveryPath) {
    test::TScopedRecorder ui;
    {
        TWaitingScope outer("Reading", "Please wait");
        EXPECT_TRUE(ui->waitingShown);
        {
            // An inner wait neither shows a second window nor closes the outer one.
            TWaitingScope inner("Other", "Inner text");
            EXPECT_EQ(WaitingDepth(), 2);
        }
        EXPECT_TRUE(ui->waitingShown);
        EXPECT_EQ(WaitingDepth(), 1);

        // An exception out of nested scopes unwinds both counts, the window stays for outer.
        try {
            TWaitingScope inner("Other", "Inner text");
            TWaitingScope innermost("Other", "Innermost text");
            throw std::runtime_error("printer gone");
        } catch (const std::runtime_error&) {
        }
        EXPECT_TRUE(ui->waitingShown);
        EXPECT_EQ(WaitingDepth(), 1);
    }
    EXPECT_FALSE(ui->waitingShown);
    EXPECT_EQ(WaitingDepth(), 0);
    EXPECT_EQ(ui->waitingTexts, (std::vector<std::string>{"Reading: Please wait"}));

    // The next outermost scope shows the window again, with its own texts.
    try {
        TWaitingScope again("Writing", "Hold on");
        throw std::runtime_error("conversion error");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(ui->waitingShown);
    EXPECT_EQ(ui->waitingTexts.back(), "Writing: Hold on");
}

TEST(ConsoleUserInterface, PrintsEveryBoxWithTheAnswerItTook) {
    std::ostringstream captured;
    auto* saved = std::cerr.rdbuf(captured.rdbuf());
    TConsoleUserInterface console;
    const int widget = 0;
    const TMessageResult ok = console.ShowMessage(nullptr, "Hint", "Printer not found",
                                                  TMessageIcon::Error, TMessageButtons::Ok);
    const TMessageResult yes = console.ShowMessage(&widget, "Question", "Replace the ink box?",
                                                   TMessageIcon::Question, TMessageButtons::YesNo);
    const TMessageResult okCancel = console.ShowMessage(
        nullptr, "Hint", "Start cleaning?", TMessageIcon::Warning, TMessageButtons::OkCancel);
    console.ShowWaiting("Reading printer", "Waiting for the printer");
    std::cerr.rdbuf(saved);

    EXPECT_EQ(ok, TMessageResult::Ok);
    EXPECT_EQ(yes, TMessageResult::Yes);
    EXPECT_EQ(okCancel, TMessageResult::Ok);
    EXPECT_EQ(captured.str(),
              "[error] Hint: Printer not found -> OK\n"
              "[question] Question: Replace the ink box? -> Yes\n"
              "[warning] Hint: Start cleaning? -> OK\n"
              "[waiting] Reading printer: Waiting for the printer\n");
}

TEST(RecordingUserInterface, AnswersFromThePresetsAndKeepsTheOwner) {
    test::TScopedRecorder ui;
    const int widget = 0;
    ui->Answer(TMessageResult::Cancel).ExpectBoxes(1);
    EXPECT_EQ(
        ShowMessage(&widget, "Hint", "Go on?", TMessageIcon::Question, TMessageButtons::OkCancel),
        TMessageResult::Cancel);
    EXPECT_EQ(ShowMessage(nullptr, "Hint", "Done", TMessageIcon::Information), TMessageResult::Ok);
    ASSERT_EQ(ui->messages.size(), 2u);
    EXPECT_EQ(ui->messages[0].owner, &widget);
    EXPECT_EQ(ui->messages[0].buttons, TMessageButtons::OkCancel);
    EXPECT_EQ(ui->messages[1].owner, nullptr);
    EXPECT_EQ(ui->messages[1].text, "Done");
}

TEST(RecordingUserInterface, IsStrict) {
    // A box nobody expected fails the test.
    EXPECT_NONFATAL_FAILURE(
        {
            test::TScopedRecorder ui;
            ShowMessage(nullptr, "Hint", "Surprise", TMessageIcon::Warning);
        },
        "unexpected message box \"Hint\": Surprise");
    // An answer preset for a box that never showed fails it at the end.
    EXPECT_NONFATAL_FAILURE(
        {
            test::TScopedRecorder ui;
            ui->Answer(TMessageResult::No);
        },
        "1 preset answer(s) left");
    // A waiting window hidden twice, or left up, is a fault of its caller.
    EXPECT_NONFATAL_FAILURE(
        {
            test::TScopedRecorder ui;
            UserInterface().HideWaiting();
        },
        "not shown was hidden");
    EXPECT_NONFATAL_FAILURE(
        {
            test::TScopedRecorder ui;
            UserInterface().ShowWaiting("Reading", "Wait");
        },
        "still shown");
}

}  // namespace
}  // namespace ps
