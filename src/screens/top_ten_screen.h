// SPDX-License-Identifier: MIT
// The top ten table as the top ten screen and the name entry draw it.
#pragma once
#include "persistence/top_ten.h"

// "Top ten", the ten rows and the footer. Row `editRow` (or none for -1)
// shows `editName` instead of its stored name, with the caret when asked.
void drawTopTenTable(const TopTenEntry *table, int editRow, const char *editName, bool caret,
                     const char *footer);
