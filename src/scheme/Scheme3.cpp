// SPDX-License-Identifier: MIT
// The scheme object: page code mapping and the item accessors.
#include "scheme/Scheme3.h"

#include <cstdio>
#include <utility>

namespace ps {

std::unique_ptr<TSchemeOptions2> g_SchemeOptions;

namespace {

// The section name format of a page's items; null for a code that names no list.
const char* ItemSectionFormat(std::uint8_t iPage) {
    switch (iPage) {
        case kPageAdvance:
            return "AdvanceItem%.2d";
        case kPageBaseItem:
        case kPageBase:
        case kPageBaseReport:
            return "BaseItem%.2d";
        case kPageMaintenance:
            return "MaintenanceItem%.2d";
        case kPageSubGroup01:
            return "SubGroup01Item%.2d";
        case kPageSubGroup02:
            return "SubGroup02Item%.2d";
        case kPageSubGroup64:
            return "SubGroup64Item%.2d";
        default:
            return nullptr;
    }
}

}  // namespace

std::string ItemSectionName(std::uint8_t iPage, std::int32_t iIndex) {
    const char* format = ItemSectionFormat(iPage);
    if (!format) return {};
    char name[48];
    std::snprintf(name, sizeof name, format, static_cast<int>(iIndex) + 1);
    return name;
}

ArrSettingItems* TSchemeOptions2::PageItems(std::uint8_t iPage) {
    return const_cast<ArrSettingItems*>(std::as_const(*this).PageItems(iPage));
}

const ArrSettingItems* TSchemeOptions2::PageItems(std::uint8_t iPage) const {
    switch (iPage) {
        case kPageAdvance:
            return &m_AdvanceItems;
        case kPageBaseItem:
        case kPageBase:
        case kPageBaseReport:
            return &m_BaseItems;
        case kPageMaintenance:
            return &m_Maintenance;
        case kPageSubGroup01:
            return &m_CustomItems;
        case kPageSubGroup02:
            return &m_CustomItems2;
        case kPageSubGroup64:
            return &m_CustomItems64;
        default:
            return nullptr;
    }
}

bool TSchemeOptions2::GetItem(std::uint8_t iPage, std::int32_t iIndex, TSettingItem& item) const {
    const ArrSettingItems* items = PageItems(iPage);
    if (!items || iIndex < 0 || static_cast<std::size_t>(iIndex) >= items->size()) return false;
    item = (*items)[static_cast<std::size_t>(iIndex)];
    return true;
}

std::int32_t TSchemeOptions2::GetItemLength(std::uint8_t iPage) const {
    const ArrSettingItems* items = PageItems(iPage);
    return items ? static_cast<std::int32_t>(items->size()) : 0;
}

void TSchemeOptions2::GetIndexItem(std::uint8_t iPage, TSettingItem& item) const {
    if (iPage < m_IndexItems.size()) item = m_IndexItems[iPage];
}

void TSchemeOptions2::SetAffirmReadDisableStatus(bool bStatus) {
    m_Sections.AffirmReadDisable = bStatus;
}

}  // namespace ps
