// The tooltip a list box shows for the entry under the pointer.
#pragma once

#include "window/controls.h"

#include <cstdint>

// " entry " for the entry under the point (twips, relative to the list), "" when there is none.
std::string listItemTipAt(const ListBox &list, float xTwips, float yTwips);

// The hint of a list as the pointer moves: nothing while a button is held, else the entry's tip.
void showListItemTip(ListBox &list, int16_t button, float xTwips, float yTwips);
