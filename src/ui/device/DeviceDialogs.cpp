// SPDX-License-Identifier: MIT
// The device dialogs' factories.
#include "ui/device/DeviceDialogs.h"

#include <memory>

#include "ui/common/ItemDialogTable.h"
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

namespace ps::ui {
namespace {

template <typename TDialog>
void Register(const char* className) {
    RegisterItemDialog(className, [](QWidget* parent) -> std::unique_ptr<QDialog> {
        return std::make_unique<TDialog>(parent);
    });
}

}  // namespace

void RegisterDeviceDialogs() {
    Register<TfrmInkSet>("TfrmInkSet");
    Register<TInquiry>("TInquiry");
    Register<TInquiry2>("TInquiry2");
    Register<TInkDry>("TInkDry");
    Register<THorizontal>("THorizontal");
    Register<TTime>("TTime");
    Register<TLock>("TLock");
    Register<TNormalSet>("TNormalSet");
    Register<TFormFeedPrecision>("TFormFeedPrecision");
    Register<TFormFirewareVersion>("TFormFirewareVersion");
}

}  // namespace ps::ui
