// SPDX-License-Identifier: MIT
// What a screen reader finds in every device dialog, in English and in Simplified Chinese: the
// dialog by its caption, every control that takes the keyboard focus by a name, a control with
// a caption by that caption, and one without by a text of the running language.
#include <gtest/gtest.h>

#include "DeviceDialogTest.h"
#include "ui/device/ULock.h"
#include "ui/device/UNormalSet.h"
#include "ui/device/UTime.h"
#include "ui/device/frmFirewareVersion.h"
#include "ui/device/uFeedPrecision.h"
#include "ui/device/uHorizontal.h"
#include "ui/device/uInkDry.h"
#include "ui/device/uInkSet.h"
#include "ui/device/uInquiry.h"
#include "ui/device/uInquiry2.h"

namespace ps::test {
namespace {

class DeviceAccessibilityTest : public DeviceDialogTest,
                                public ::testing::WithParamInterface<std::uint16_t> {
protected:
    template <typename TDialog>
    void ExpectNamed(int slot) {
        auto dialog = Open<TDialog>(slot);
        const auto faults = ScreenReaderFaults(dialog.get());
        EXPECT_TRUE(faults.empty())
            << dialog->objectName().toStdString() << ": " << ::testing::PrintToString(faults);
    }
};

TEST_P(DeviceAccessibilityTest, EveryDeviceDialogAndControlIsReadAsShown) {
    for (const char* set : {"6B22", "6A3C"}) {
        SCOPED_TRACE(set);
        Printer({.settingCommand = set});
        DestroyMainWindow();
        Install(GetParam());
        ExpectNamed<ui::TfrmInkSet>(kAdjust);
        ExpectNamed<ui::TFormFeedPrecision>(kFeed);
    }
    ExpectNamed<ui::TInquiry>(kInquiry);
    ExpectNamed<ui::TInquiry2>(kInquiry2);
    ExpectNamed<ui::TInkDry>(kDry);
    ExpectNamed<ui::THorizontal>(kHorizontal);
    ExpectNamed<ui::TTime>(kTimer);
    ExpectNamed<ui::TLock>(kLock);
    ExpectNamed<ui::TNormalSet>(kNormalSet);
    ExpectNamed<ui::TFormFirewareVersion>(kFirmware);
}

INSTANTIATE_TEST_SUITE_P(Languages, DeviceAccessibilityTest, ::testing::Values(0x0409, 0x0804),
                         [](const auto& language) {
                             return language.param == 0x0409 ? "en" : "zh_CN";
                         });

}  // namespace
}  // namespace ps::test
