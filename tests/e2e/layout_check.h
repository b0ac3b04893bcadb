// Compares a screenshot with the colours areas should show.
#pragma once

#include "screenshot.h"
#include "scribbo_layout.h"

#include <string>
#include <vector>

// One line for each area that does not show what it should; empty when all do.
std::vector<std::string> layoutMismatches(const Screenshot& screenshot, const std::vector<scribbo::ColourArea>& areas);

// True when every area shows what it should.
bool showsLayout(const Screenshot& screenshot, const std::vector<scribbo::ColourArea>& areas);
