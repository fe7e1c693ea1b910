#pragma once
// The fixed counts of what the program keeps: the children of a program
// folder, and the contribution lines of the table every slip shows.

// The child slots, 1 to 5: five parameter records, five day tables.
inline constexpr int ChildCount = 5;
// The contribution lines of the rates table and of both slips.
inline constexpr int ContributionLines = 9;
