#pragma once

#include <cstdint>

// The settings tab, tools tab and help page last chosen; the main window and the two pages keep it
// so that a page switch or a language change reloads the right help file.
struct SubPageRecord
{
    uint8_t settingsTab = 0; // 0..5
    uint8_t toolsTab = 1;    // 0..5
    uint8_t helpIndex = 0;   // 0..10
};

inline SubPageRecord subPageRecord;

// The settings sub-page last chosen with a tab (0..5); the Return key resends the gains only on
// sub-page 2.
inline uint8_t settingsSubPage = 0;
