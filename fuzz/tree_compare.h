// Structural comparison of two settings trees for the settings-tree target.
#pragma once

#include "settings_tree.h"

// Aborts unless the trees below `a` and `b` have the same shape and, node by node, the same
// kind, name, value and base (the node at the same place in the other tree). A value node's
// missing value equals an empty one: both are written as "name=".
void require_same_tree(const SettingsNode& a, const SettingsNode& b);
