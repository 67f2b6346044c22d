// SPDX-License-Identifier: MIT
// Helpers shared by the string table tests.
#pragma once

#include <map>
#include <set>
#include <string>

#include "localisation/Scheme.h"

namespace ps::test {

/// The keys the Japanese rows leave out on purpose (they show the built-in texts).
inline const std::set<std::string> kKeysWithoutJapanese = {"Group64_Name1",
                                                           "Group64_Name21",
                                                           "Group64_Name2",
                                                           "Group64_Name3",
                                                           "Group64_Name4",
                                                           "Group64_btnDetect",
                                                           "Group64_Info",
                                                           "PutTheCard",
                                                           "PaperLengthInvalid",
                                                           "Inch",
                                                           "Layer",
                                                           "Auto",
                                                           "ON_",
                                                           "OFF",
                                                           "btnInkCancel",
                                                           "QP7Step1",
                                                           "QP7Step2",
                                                           "QP7Step3",
                                                           "QP7Step4",
                                                           "QP7Step5",
                                                           "QP7Step6",
                                                           "QP7Step7",
                                                           "QP7Step8",
                                                           "QP7Step9",
                                                           "FeedDistance",
                                                           "PortNotSupport",
                                                           "FirewareVersion"};

/// The texts of a table by key.
inline std::map<std::string, std::string> TextsByKey(TGlobalString table) {
    std::map<std::string, std::string> texts;
    ForEachGlobalString(table, [&](std::string_view key, const std::string& text) {
        texts.emplace(std::string(key), text);
    });
    return texts;
}

}  // namespace ps::test
