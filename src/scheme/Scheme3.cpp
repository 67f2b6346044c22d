// SPDX-License-Identifier: MIT
// The scheme object: page code mapping and the item accessors.
#include "scheme/Scheme3.h"

#include <cstdio>

namespace ps {

std::unique_ptr<TSchemeOptions2> g_SchemeOptions;

const std::array<TPageList, 6> kPageLists = {{
    {kPageBase, "BaseSection", "BaseItem%.2d", &TSchemeOptions2::m_BaseItems},
    {kPageAdvance, "AdvanceSection", "AdvanceItem%.2d", &TSchemeOptions2::m_AdvanceItems},
    {kPageMaintenance, "MaintenanceSection", "MaintenanceItem%.2d",
     &TSchemeOptions2::m_Maintenance},
    {kPageSubGroup01, "SubGroup01", "SubGroup01Item%.2d", &TSchemeOptions2::m_CustomItems},
    {kPageSubGroup02, "SubGroup02", "SubGroup02Item%.2d", &TSchemeOptions2::m_CustomItems2},
    {kPageSubGroup64, "SubGroup64", "SubGroup64Item%.2d", &TSchemeOptions2::m_CustomItems64},
}};

const TPageList* FindPageList(std::uint8_t iPage) {
    // Run mode 1 and the values report address the base list under their own codes.
    if (iPage == kPageBaseItem || iPage == kPageBaseReport) iPage = kPageBase;
    for (const TPageList& list : kPageLists)
        if (list.page == iPage) return &list;
    return nullptr;
}

std::string ItemSectionName(std::uint8_t iPage, std::int32_t iIndex) {
    const TPageList* list = FindPageList(iPage);
    if (!list) return {};
    char name[48];
    std::snprintf(name, sizeof name, list->itemSectionFormat, static_cast<int>(iIndex) + 1);
    return name;
}

ArrSettingItems* TSchemeOptions2::PageItems(std::uint8_t iPage) {
    const TPageList* list = FindPageList(iPage);
    return list ? &(this->*list->items) : nullptr;
}

const ArrSettingItems* TSchemeOptions2::PageItems(std::uint8_t iPage) const {
    const TPageList* list = FindPageList(iPage);
    return list ? &(this->*list->items) : nullptr;
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
