// SPDX-License-Identifier: MIT
// The pieces the printer verbs share: the progress line on a terminal and the common options.
#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>

#include "VerbSession.h"
#include "Verbs.h"
#include "platform/Platform.h"
#include "support/EmulationFixture.h"

namespace ps::tool {
namespace {

class VerbSessionTest : public test::TEmulationTest {};

TEST_F(VerbSessionTest, ProgressLineShowsOnATerminalAfterASecondAndIsCleared) {
    StartScripted();
    std::ostringstream out, err, file;
    TVerbIo terminal{out, err, true};
    TVerbIo redirected{out, file, false};
    {
        TProgressLine line(terminal, "reading \"P\"");
        TProgressLine quiet(redirected, "reading \"P\"");
        line.Update(1, 4);  // a quick read says nothing
        EXPECT_EQ(err.str(), "");
        Platform().Clock().Sleep(1000);
        line.Callback()(2, 4);
        quiet.Update(2, 4);
        EXPECT_EQ(err.str(), "\r\x1B[Kreading \"P\": 2 of 4");
        line.Update(4, 4);  // done: the line goes with the object
    }
    EXPECT_EQ(err.str(), "\r\x1B[Kreading \"P\": 2 of 4\r\x1B[K");
    EXPECT_EQ(file.str(), "");  // never into a file
}

TEST_F(VerbSessionTest, ResultsThatCannotBeWrittenAreNoSuccess) {
    StartScripted();
    // Standard output on a full disk: every write fails.
    struct TFullDisk : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    } full;
    std::ostream out(&full);
    std::ostringstream err;
    TVerbIo io{out, err, false};
    EXPECT_EQ(RunPrinterVerb("printers", {"--json"}, io), kVerbUnreachable);
    EXPECT_NE(err.str().find("the results could not be written to standard output"),
              std::string::npos)
        << err.str();
}

TEST_F(VerbSessionTest, CommonOptionsAreTakenOutOfTheArguments) {
    std::vector<std::string> args = {"P", "--json", "X", "--wait", "7", "--lang", "CN"};
    const TPrinterOptions options = TakePrinterOptions(args);
    EXPECT_EQ(args, (std::vector<std::string>{"P", "X"}));
    EXPECT_TRUE(options.bJson);
    EXPECT_EQ(options.waitSeconds, 7u);
    EXPECT_EQ(options.langId, 0x0804);

    for (std::vector<std::string> bad : {std::vector<std::string>{"--wait", "-1"},
                                         {"--wait", "1e3"},
                                         {"--wait"},
                                         {"--wait", "1", "--wait", "2"},
                                         {"--lang", "DE"}}) {
        try {
            TakePrinterOptions(bad);
            ADD_FAILURE() << "accepted " << bad.front();
        } catch (const EVerbFailure& e) {
            EXPECT_EQ(e.ExitCode(), kVerbBadInput) << e.what();
        }
    }
}

}  // namespace
}  // namespace ps::tool
